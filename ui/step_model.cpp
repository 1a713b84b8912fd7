// The file page's 3-D model: the same steps as tarvo-cli's --step (app/step_file), with the
// path made from the drawing's.
#include "ui/step_model.h"

#include <cmath>
#include <optional>

#include "app/step_file.h"
#include "app/table_input.h"
#include "solid/gear_step.h"
#include "ui/controls.h"
#include "ui/file_page.h"

namespace tarvo::ui {

namespace {

// The path of the model: the drawing's with its ".dxf" (or ".DXF") replaced by ".step".
std::string StepPathOf(const std::string& drawing) {
    const std::size_t dot = drawing.rfind('.');
    const std::size_t slash = drawing.rfind('/');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? drawing.substr(0, dot) : drawing) + ".step";
}

// A whole box as one number, "." or "," as the decimal point; nothing for anything else.
std::optional<double> BoxNumber(const QString& text) {
    bool ok = false;
    const double value =
        QString(text).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

Message Refusal(const std::string& text) {
    return Message{text, MessageIcon::Critical, "Неверно задан параметр"};
}

}  // namespace

Outcome<std::optional<StepChoice>, Message> ReadStepChoice(const FilePage& page) {
    using Read = Outcome<std::optional<StepChoice>, Message>;
    if (!page.chkStep->isChecked()) {
        return std::optional<StepChoice>();
    }
    StepChoice choice;
    const std::optional<double> faceWidth = BoxNumber(page.txtFaceWidth->text());
    if (!faceWidth || !(*faceWidth > 0)) {
        return Read::Failure(Refusal("Ширина венца b должна быть числом больше нуля."));
    }
    choice.faceWidth = *faceWidth;
    const QString rim = page.txtRim->text().trimmed();
    if (!rim.isEmpty()) {
        const std::optional<double> diameter = BoxNumber(rim);
        if (!diameter || !(*diameter > 0)) {
            return Read::Failure(
                Refusal("Диаметр обода должен быть числом больше нуля (или "
                        "пустым: диаметр впадин плюс 6 m)."));
        }
        choice.rim = *diameter;
    }
    return std::optional<StepChoice>(choice);
}

std::string WriteStepBeside(const MainMod& state, const BuilderCall& call,
                            const StepChoice& choice) {
    const std::string path = StepPathOf(state.OutFile);
    const SolidOptions options{choice.faceWidth, choice.rim};
    const StepFileResult written = WriteStepFile(
        state, call, Wheel1Hand(call.beta, choice.wheel1Hand), path,
        [&](const std::vector<StepMember>& members) { return GearStepText(members, options); });
    if (!written.ok()) {
        return "3D-модель (STEP) не записана: " + written.fault();
    }
    return "3D-модель (STEP) записана: " + path;
}

}  // namespace tarvo::ui

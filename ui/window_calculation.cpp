// The window's calculation rows.
#include "ui/window_calculation.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <array>
#include <cmath>
#include <vector>

#include "app/basic_rack.h"
#include "app/custom_rack.h"
#include "app/startup.h"
#include "app/table_input.h"
#include "math/number_text.h"
#include "math/rounding.h"
#include "profile/main_mod.h"
#include "ui/controls.h"

namespace tarvo::ui {

namespace {

// The tasks of the start page, as bits: a row serves those it names.
enum TaskBit : unsigned { kPair = 1, kGost = 2, kOst = 4, kSpline = kGost | kOst, kAll = 7 };

enum class Kind {
    Number,     // a box read with a decimal comma: the exact value
    Count,      // a tooth count: the box's value rounded half to even
    Points,     // a point count: the number as typed (a comma ends it) rounded half to even
    Word,       // option buttons "<control>(0)", "<control>(1)": one word each
    Check,      // a check box: words[0] unticked, words[1] ticked
    Rack,       // the rack rows: "rack" a fixed row's key, or "rack-custom" the own rack's values
    Combo,      // a list: words[0] its first row, words[1] its second
    Tolerance,  // the tolerance box, written only while its check box is ticked
    Text,       // a box's text as a string, written only when not empty
};

struct Row {
    const char* key = nullptr;
    unsigned tasks = 0;
    const char* control = nullptr;
    Kind kind = Kind::Number;
    std::array<const char*, 2> words = {nullptr, nullptr};
    // An older word for words[0], still read from files written before it was renamed; never
    // written.
    const char* formerWord0 = nullptr;

    // The row read from the control named `control` as `kind`, its states written as `words`.
    Row Read(Kind how, const char* name,
             std::array<const char*, 2> states = {nullptr, nullptr}) const {
        Row row = *this;
        row.kind = how;
        row.control = name;
        row.words = states;
        return row;
    }
    Row Number(const char* box) const { return Read(Kind::Number, box); }
    Row Count(const char* box) const { return Read(Kind::Count, box); }
    Row Points(const char* box) const { return Read(Kind::Points, box); }
    Row Tolerance(const char* box) const { return Read(Kind::Tolerance, box); }
    Row Text(const char* box) const { return Read(Kind::Text, box); }
    Row Word(const char* group, const char* first, const char* second) const {
        return Read(Kind::Word, group, {first, second});
    }
    Row Combo(const char* list, const char* first, const char* second) const {
        return Read(Kind::Combo, list, {first, second});
    }
    Row Check(const char* box, const char* unticked, const char* ticked) const {
        return Read(Kind::Check, box, {unticked, ticked});
    }
    Row Rack() const { return Read(Kind::Rack, nullptr); }
    Row FormerWord0(const char* word) const {
        Row row = *this;
        row.formerWord0 = word;
        return row;
    }
};

// The entry `key` of the tasks `tasks`; how it is read is set by name after it.
Row Entry(const char* key, unsigned tasks) {
    Row row;
    row.key = key;
    row.tasks = tasks;
    return row;
}

// In tarvo-cli's order, so a window's file and a report of the same data read alike.
const Row kRows[] = {
    Entry("mesh", kPair).Word("opTip", "external", "internal"),
    Entry("module", kPair).Number("txtm"),
    Entry("z1", kPair).Count("txtZ1"),
    Entry("z2", kPair).Count("txtZ2"),
    Entry("helix", kPair).Number("txtBeta"),
    Entry("x1", kPair).Number("txtx1"),
    Entry("x2", kPair).Number("txtx2"),
    Entry("hand", kPair).Combo("cboHand", "right", "left"),
    Entry("backlash", kPair).Number("txtJbn"),
    Entry("rack", kPair).Rack(),
    Entry("part", kSpline).Word("opValVt", "shaft", "hub"),
    Entry("module", kSpline).Number("txtmSL"),
    Entry("teeth", kSpline).Count("txtZ"),
    Entry("shift", kGost).Number("txtX"),
    Entry("involute-points", kAll).Points("txtAccEv"),
    Entry("fillet-points", kAll).Points("txtAccPer"),
    Entry("tolerance", kAll).Tolerance("txtTolerance"),
    // The equivalent rack's fillet was called "design" before; stored calculations may hold it.
    Entry("fillet", kAll).Check("chkCutFillet", "equivalent", "cut").FormerWord0("design"),
    Entry("accuracy", kAll).Text("txtAccuracy"),
};

// The check box of the tolerance: while ticked the tolerance places the points, and the point
// counts are not written (tarvo-cli refuses them beside a tolerance).
const char* const kToleranceCheck = "chkTolerance";

// Entries only tarvo-cli uses (the measuring rollers of its report): taken and left alone.
const char* const kCliOnly[] = {"roller"};

// The basic rack: "rack" names a fixed row, "rack-custom" the designer's own five values.
const char* const kRackKey = "rack";
const char* const kCustomRackKey = "rack-custom";
const char* const kCustomButton = "ctlOB5";
const std::array<const char*, 5> kCustomBoxes = {"TextAlfa", "TextH", "TextHf", "TextC", "TextRo"};

// The start page's task: the command and, for a spline, its standard.
struct Task {
    unsigned bit;
    const char* command;
    const char* standard;  // null for the pair
};
const Task kTasks[] = {
    {kPair, "pair", nullptr}, {kGost, "spline", "gost"}, {kOst, "spline", "ost"}};

template <typename T = QWidget>
T* Control(const QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}

QString Indexed(const char* group, int index) {
    return GroupName(group, index);
}

int ChosenTask(const QWidget* window) {
    for (int i = 0; i < 3; ++i) {
        auto* option = Control<QAbstractButton>(window, Indexed("ctlOptionTip", i));
        if (option != nullptr && option->isChecked()) {
            return i;
        }
    }
    return 0;
}

std::string BoxText(const QWidget* window, const char* name) {
    auto* box = Control<QLineEdit>(window, QLatin1String(name));
    return box != nullptr ? ToCore(box->text()) : std::string();
}

// A value as tarvo-cli reads it back; a count beyond what a double holds exactly as a whole
// number is written as it rounds.
std::string WholeText(double v) {
    return std::isfinite(v) ? ExactNumberText(v) : "0";
}

// The designer's own rack as tarvo-cli's --rack-custom list: the five boxes as the frame last
// stored them, each exact (an rf* of 0 is derived again).
std::string CustomRackList(const QWidget* window) {
    std::string list;
    for (const char* name : kCustomBoxes) {
        const double v = FieldValue(BoxText(window, name));
        list += (list.empty() ? "" : ",") + (std::isfinite(v) ? ExactNumberText(v) : "0");
    }
    return list;
}

QString ChosenRackButton(const QWidget* window) {
    for (const RackRow& row : kRackRows) {
        auto* button = Control<QAbstractButton>(window, QLatin1String(row.button));
        if (button != nullptr && button->isChecked()) {
            return QLatin1String(row.button);
        }
    }
    auto* custom = Control<QAbstractButton>(window, QLatin1String(kCustomButton));
    return custom != nullptr && custom->isChecked() ? QLatin1String(kCustomButton)
                                                    : QLatin1String(kDefaultRackRow.button);
}

// The rack's entry: the fixed row's key, or the own rack's values.
CalcEntry RackEntry(const QWidget* window) {
    const QString button = ChosenRackButton(window);
    for (const RackRow& rack : kRackRows) {
        if (button == QLatin1String(rack.button)) {
            return {kRackKey, rack.key, true};
        }
    }
    return {kCustomRackKey, CustomRackList(window), true};
}

bool Ticked(const QWidget* window, const char* name) {
    auto* box = Control<QAbstractButton>(window, QLatin1String(name));
    return box != nullptr && box->isChecked();
}

std::optional<CalcEntry> EntryOf(const QWidget* window, const Row& row) {
    switch (row.kind) {
        case Kind::Number: {
            const double v = FieldValue(BoxText(window, row.control));
            return CalcEntry{row.key, std::isfinite(v) ? ExactNumberText(v) : "0", false};
        }
        case Kind::Count:
            return CalcEntry{
                row.key, WholeText(RoundHalfEven(FieldValue(BoxText(window, row.control)))), false};
        case Kind::Points:
            if (Ticked(window, kToleranceCheck)) {
                return std::nullopt;
            }
            return CalcEntry{
                row.key, WholeText(RoundHalfEven(RawValue(BoxText(window, row.control)))), false};
        case Kind::Word: {
            auto* second = Control<QAbstractButton>(window, Indexed(row.control, 1));
            const bool other = second != nullptr && second->isChecked();
            return CalcEntry{row.key, row.words[other ? 1 : 0], true};
        }
        case Kind::Check: {
            auto* box = Control<QAbstractButton>(window, QLatin1String(row.control));
            const bool ticked = box != nullptr && box->isChecked();
            return CalcEntry{row.key, row.words[ticked ? 1 : 0], true};
        }
        case Kind::Rack:
            return RackEntry(window);
        case Kind::Combo: {
            auto* list = Control<QComboBox>(window, QLatin1String(row.control));
            const bool other = list != nullptr && list->currentIndex() == 1;
            return CalcEntry{row.key, row.words[other ? 1 : 0], true};
        }
        case Kind::Tolerance: {
            const double v = FieldValue(BoxText(window, row.control));
            if (!Ticked(window, kToleranceCheck) || !std::isfinite(v)) {
                return std::nullopt;
            }
            return CalcEntry{row.key, ExactNumberText(v), false};
        }
        case Kind::Text: {
            const std::string text = BoxText(window, row.control);
            if (text.empty()) {
                return std::nullopt;
            }
            return CalcEntry{row.key, text, true};
        }
    }
    return std::nullopt;
}

// What opening a calculation will do to the pages, worked out in full before anything changes.
struct Plan {
    int task = 0;
    std::vector<std::pair<QString, QString>> texts;  // box, text
    std::vector<QString> chosen;                     // buttons to choose
    std::vector<std::pair<QString, bool>> ticks;     // check boxes
    std::vector<std::pair<QString, int>> rows;       // lists and their rows
};

std::string Problem(const std::string& key, const std::string& what) {
    return "параметр «" + key + "»: " + what;
}

// Reads one row's entry into the plan, or says what is wrong with it.
std::optional<std::string> PlanRow(const Row& row, const CalcEntry* entry, Plan& plan) {
    const QString control = QLatin1String(row.control);
    if (row.kind == Kind::Text) {
        if (entry == nullptr) {
            plan.texts.emplace_back(control, QString());
            return std::nullopt;
        }
        if (!entry->quoted) {
            return Problem(row.key, "ожидалась строка");
        }
        if (const auto problem = AccuracyTextProblem(entry->value)) {
            return Problem(row.key, *problem);
        }
        plan.texts.emplace_back(control, FromCore(entry->value));
        return std::nullopt;
    }
    if (row.kind == Kind::Tolerance) {
        // Not given: the point counts place the points; the box keeps its value.
        plan.ticks.emplace_back(QLatin1String(kToleranceCheck), entry != nullptr);
        if (entry == nullptr) {
            return std::nullopt;
        }
        if (entry->quoted || !IsJsonNumber(entry->value)) {
            return Problem(row.key, "ожидалось число");
        }
        plan.texts.emplace_back(control, FromCore(entry->value));
        return std::nullopt;
    }
    if (row.kind == Kind::Word || row.kind == Kind::Check || row.kind == Kind::Combo) {
        int index = 0;
        if (entry != nullptr) {
            index = -1;
            for (int i = 0; i < 2; ++i) {
                if (entry->quoted && entry->value == row.words[static_cast<std::size_t>(i)]) {
                    index = i;
                }
            }
            if (entry->quoted && row.formerWord0 != nullptr && entry->value == row.formerWord0) {
                index = 0;
            }
            if (index < 0) {
                return Problem(row.key, std::string("ожидалось \"") + row.words[0] + "\" или \"" +
                                            row.words[1] + "\"");
            }
        }
        if (row.kind == Kind::Word) {
            plan.chosen.push_back(Indexed(row.control, index));
        } else if (row.kind == Kind::Combo) {
            plan.rows.emplace_back(control, index);
        } else {
            plan.ticks.emplace_back(control, index == 1);
        }
        return std::nullopt;
    }
    if (entry == nullptr) {
        // A point count not given is the default; any other box not given is left empty.
        const QString text = row.kind != Kind::Points ? QString()
                             : control == QLatin1String("txtAccEv")
                                 ? QString::number(kDefaultAccEv)
                                 : QString::number(kDefaultAccPer);
        plan.texts.emplace_back(control, text);
        return std::nullopt;
    }
    if (entry->quoted || !IsJsonNumber(entry->value)) {
        return Problem(row.key, "ожидалось число");
    }
    plan.texts.emplace_back(control, FromCore(entry->value));
    return std::nullopt;
}

std::optional<std::string> PlanRack(const Calculation& calculation, Plan& plan) {
    const CalcEntry* fixed = calculation.Find(kRackKey);
    const CalcEntry* custom = calculation.Find(kCustomRackKey);
    if (fixed != nullptr && custom != nullptr) {
        return std::string("заданы оба параметра «rack» и «rack-custom»; нужен один");
    }
    if (custom == nullptr) {
        const RackRow* row = fixed != nullptr ? FindRackRow(fixed->value) : &kDefaultRackRow;
        if (fixed != nullptr && (row == nullptr || !fixed->quoted)) {
            return Problem(kRackKey, "нет такой строки исходного контура (" + fixed->value + ")");
        }
        plan.chosen.push_back(QLatin1String(row->button));
        return std::nullopt;
    }
    const QStringList parts = FromCore(custom->value).split(QLatin1Char(','));
    if (!custom->quoted || parts.size() != static_cast<qsizetype>(kCustomBoxes.size())) {
        return Problem(kCustomRackKey, "ожидалась строка из пяти чисел через запятую");
    }
    std::array<std::string, 5> texts;
    for (std::size_t i = 0; i < kCustomBoxes.size(); ++i) {
        texts[i] = ToCore(parts[static_cast<qsizetype>(i)].trimmed());
        const bool derived = i + 1 == kCustomBoxes.size() && texts[i].empty();
        if (!derived && !IsJsonNumber(texts[i])) {
            return Problem(kCustomRackKey, "«" + texts[i] + "» не число");
        }
    }
    MainMod scratch;
    const CustomRackOutcome stored = StoreCustomRack(scratch, texts);
    if (!stored.ok()) {
        return Problem(kCustomRackKey, ZeroParameterMessage(stored.fault()));
    }
    for (std::size_t i = 0; i < kCustomBoxes.size(); ++i) {
        plan.texts.emplace_back(QLatin1String(kCustomBoxes[i]), FromCore(texts[i]));
    }
    plan.chosen.push_back(QLatin1String(kCustomButton));
    return std::nullopt;
}

bool Known(std::string key, unsigned task) {
    if (key == "command" || key == "standard") {
        return true;
    }
    if (key == kCustomRackKey) {
        // Stands for the rack row as "rack" does.
        key = kRackKey;
    }
    for (const char* only : kCliOnly) {
        if (key == only) {
            return true;
        }
    }
    for (const Row& row : kRows) {
        if ((row.tasks & task) != 0 && key == row.key) {
            return true;
        }
    }
    return false;
}

}  // namespace

Calculation CalculationOfWindow(const QWidget* window) {
    const Task& task = kTasks[ChosenTask(window)];
    Calculation calculation;
    calculation.Add("command", task.command, true);
    if (task.standard != nullptr) {
        calculation.Add("standard", task.standard, true);
    }
    for (const Row& row : kRows) {
        if ((row.tasks & task.bit) == 0) {
            continue;
        }
        if (std::optional<CalcEntry> entry = EntryOf(window, row)) {
            calculation.Add(entry->key, entry->value, entry->quoted);
        }
    }
    return calculation;
}

std::optional<std::string> FillWindow(QWidget* window, const Calculation& calculation) {
    const CalcEntry* command = calculation.Find("command");
    const CalcEntry* standard = calculation.Find("standard");
    Plan plan;
    plan.task = -1;
    for (int i = 0; i < 3; ++i) {
        const Task& task = kTasks[i];
        const bool sameCommand = command != nullptr && command->value == task.command;
        const bool sameStandard = task.standard == nullptr
                                      ? standard == nullptr
                                      : standard != nullptr && standard->value == task.standard;
        if (sameCommand && sameStandard) {
            plan.task = i;
        }
    }
    if (plan.task < 0) {
        return std::string(
            "не задана задача: нужен параметр «command» \"pair\", или \"spline\" "
            "с параметром «standard» \"gost\" или \"ost\"");
    }
    const unsigned bit = kTasks[plan.task].bit;
    for (const CalcEntry& entry : calculation.entries) {
        if (!Known(entry.key, bit)) {
            return "неизвестный параметр «" + entry.key + "» для этой задачи";
        }
    }
    for (const Row& row : kRows) {
        if ((row.tasks & bit) == 0) {
            continue;
        }
        const std::optional<std::string> problem =
            row.kind == Kind::Rack ? PlanRack(calculation, plan)
                                   : PlanRow(row, calculation.Find(row.key), plan);
        if (problem) {
            return problem;
        }
    }
    // Checked in full: now the pages change.
    plan.chosen.push_back(Indexed("ctlOptionTip", plan.task));
    for (const auto& [name, text] : plan.texts) {
        if (auto* box = Control<QLineEdit>(window, name)) {
            box->setText(text);
        }
    }
    for (const QString& name : plan.chosen) {
        if (auto* button = Control<QAbstractButton>(window, name)) {
            button->setChecked(true);
        }
    }
    for (const auto& [name, ticked] : plan.ticks) {
        if (auto* box = Control<QAbstractButton>(window, name)) {
            box->setChecked(ticked);
        }
    }
    for (const auto& [name, index] : plan.rows) {
        if (auto* list = Control<QComboBox>(window, name)) {
            list->setCurrentIndex(index);
        }
    }
    return std::nullopt;
}

}  // namespace tarvo::ui

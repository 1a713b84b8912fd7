// --step: the members computed at the dense accuracy, turned into named solids, checked, and
// the STEP text written through the drawing's atomic file.
#include "cli/cli_step.h"

#include "app/fault_text.h"
#include "app/os_reason.h"
#include "app/solid_words.h"
#include "drawing/member_sections.h"
#include "drawing/safe_file.h"
#include "solid/gear_step.h"

namespace tarvo {

StepWriteResult WriteStepModel(const MainMod& state, const BuilderCall& call,
                               const StepRequest& request) {
    const MemberSectionsResult sections = ComputeMemberSections(state, call, request.wheel1Hand);
    if (!sections.ok()) {
        return StepWriteResult::Failure(
            DrawReason({DrawFault::Kind::GeometryRefused, sections.fault(), {}}));
    }
    std::vector<StepMember> members;
    for (const MemberSection& section : sections.value()) {
        members.push_back({SolidName(section.role), section});
    }
    const StepTextResult step =
        GearStepText(members, SolidOptions{request.faceWidth, request.rimDiameter});
    if (!step.ok()) {
        return StepWriteResult::Failure(SolidReason(step.fault()));
    }
    const auto written = WriteWholeFile(request.path, step->text.data(), step->text.size());
    if (!written.ok()) {
        return StepWriteResult::Failure("файл " + request.path +
                                        " не записан: " + RussianOsReason(written.fault()));
    }
    return Done{};
}

}  // namespace tarvo

// The model's steps in order; the first that fails gives the reason.
#include "app/step_file.h"

#include <utility>

#include "app/fault_text.h"
#include "app/os_reason.h"
#include "app/solid_words.h"
#include "drawing/member_sections.h"
#include "drawing/safe_file.h"

namespace tarvo {

StepFileResult WriteStepFile(const MainMod& state, const BuilderCall& call, Hand wheel1Hand,
                             const std::string& path, const StepTextMaker& stepText) {
    const MemberSectionsResult sections = ComputeMemberSections(state, call, wheel1Hand);
    if (!sections.ok()) {
        return StepFileResult::Failure(
            DrawReason({DrawFault::Kind::GeometryRefused, sections.fault(), {}}));
    }
    std::vector<StepMember> members;
    for (const MemberSection& section : sections.value()) {
        StepMember member;
        member.name = SolidName(section.role);
        member.section = section;
        members.push_back(std::move(member));
    }
    const StepTextResult step = stepText(members);
    if (!step.ok()) {
        return StepFileResult::Failure(SolidReason(step.fault()));
    }
    const auto written = WriteWholeFile(path, step->text.data(), step->text.size());
    if (!written.ok()) {
        return StepFileResult::Failure("файл " + path +
                                       " не записан: " + RussianOsReason(written.fault()));
    }
    return Done{};
}

}  // namespace tarvo

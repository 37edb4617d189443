#include "generation/PanelValues.h"

#include "generation/DesignedPanel.h"

#include <stdexcept>
#include <string>

namespace tickforge {

namespace {

// Every member but StartDate is read from the control of its own name.
struct TextMember {
    const char* control;
    std::string PanelValues::*member;
};
struct BoxMember {
    const char* control;
    bool PanelValues::*member;
};

#define TICKFORGE_MEMBER(name) {#name, &PanelValues::name}
const TextMember TextMembers[] = {
    TICKFORGE_MEMBER(ebLength),
    TICKFORGE_MEMBER(ebRandomPeriodMin),
    TICKFORGE_MEMBER(ebTicksPerDay),
    TICKFORGE_MEMBER(ebSeed),
    TICKFORGE_MEMBER(ebSeedMin),
    TICKFORGE_MEMBER(ebSeedMax),
    TICKFORGE_MEMBER(ebMinPrice),
    TICKFORGE_MEMBER(ebMaxPrice),
    TICKFORGE_MEMBER(ebVolatility),
    TICKFORGE_MEMBER(ebBias),
    TICKFORGE_MEMBER(ebShockFreq),
    TICKFORGE_MEMBER(ebShockMag),
    TICKFORGE_MEMBER(ebMinVolume),
    TICKFORGE_MEMBER(ebMaxVolume),
    TICKFORGE_MEMBER(ebDirtydata),
};
const BoxMember BoxMembers[] = {
    TICKFORGE_MEMBER(cbRandomPeriod),
    TICKFORGE_MEMBER(cbWeekends),
    TICKFORGE_MEMBER(cbSeedRandom),
    TICKFORGE_MEMBER(cbMin),
    TICKFORGE_MEMBER(cbMax),
    TICKFORGE_MEMBER(rbSoft),
    TICKFORGE_MEMBER(cbActiveBias),
    TICKFORGE_MEMBER(cbActiveShock),
    TICKFORGE_MEMBER(cbDirtyDataActive),
};
#undef TICKFORGE_MEMBER

const DesignedControl& Designed(std::string_view control)
{
    for (const DesignedControl& designed : DesignedPanel) {
        if (designed.Name == control)
            return designed;
    }
    throw std::logic_error("no such designed control: " + std::string(control));
}

}  // namespace

PanelValues::PanelValues()
{
    for (const TextMember& text : TextMembers)
        this->*text.member = Designed(text.control).Text;
    for (const BoxMember& box : BoxMembers)
        this->*box.member = Designed(box.control).Checked;
}

PanelValues ReadPanelValues(const PanelControls& panel)
{
    PanelValues v;
    v.StartDate = panel.Date(PanelControl::StartDate);
    for (const TextMember& text : TextMembers)
        v.*text.member = panel.Text(text.control);
    for (const BoxMember& box : BoxMembers)
        v.*box.member = panel.Checked(box.control);
    return v;
}

}  // namespace tickforge

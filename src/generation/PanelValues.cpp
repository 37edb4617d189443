#include "generation/PanelValues.h"

namespace tickforge {

PanelValues ReadPanelValues(const PanelControls& panel)
{
    PanelValues v;
    v.StartDate = panel.Date("StartDate");
    v.ebLength = panel.Text("ebLength");
    v.cbRandomPeriod = panel.Checked("cbRandomPeriod");
    v.ebRandomPeriodMin = panel.Text("ebRandomPeriodMin");
    v.cbWeekends = panel.Checked("cbWeekends");
    v.ebTicksPerDay = panel.Text("ebTicksPerDay");
    v.cbSeedRandom = panel.Checked("cbSeedRandom");
    v.ebSeed = panel.Text("ebSeed");
    v.ebSeedMin = panel.Text("ebSeedMin");
    v.ebSeedMax = panel.Text("ebSeedMax");
    v.cbMin = panel.Checked("cbMin");
    v.ebMinPrice = panel.Text("ebMinPrice");
    v.cbMax = panel.Checked("cbMax");
    v.ebMaxPrice = panel.Text("ebMaxPrice");
    v.rbSoft = panel.Checked("rbSoft");
    v.ebVolatility = panel.Text("ebVolatility");
    v.cbActiveBias = panel.Checked("cbActiveBias");
    v.ebBias = panel.Text("ebBias");
    v.cbActiveShock = panel.Checked("cbActiveShock");
    v.ebShockFreq = panel.Text("ebShockFreq");
    v.ebShockMag = panel.Text("ebShockMag");
    v.ebMinVolume = panel.Text("ebMinVolume");
    v.ebMaxVolume = panel.Text("ebMaxVolume");
    v.cbDirtyDataActive = panel.Checked("cbDirtyDataActive");
    v.ebDirtydata = panel.Text("ebDirtydata");
    return v;
}

}  // namespace tickforge

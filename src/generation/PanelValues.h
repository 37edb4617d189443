#pragma once
// Everything one generation run reads from the panel, exactly as the controls show it.
// Conversion to numbers is part of the run, so that errors arise in the run's order.

#include "generation/PanelControls.h"

#include <string>

namespace tickforge {

struct PanelValues {
    DateTimeValue StartDate = 0.0;
    std::string ebLength = "180";
    bool cbRandomPeriod = false;
    std::string ebRandomPeriodMin = "90";
    bool cbWeekends = false;
    std::string ebTicksPerDay = "1000";
    bool cbSeedRandom = true;
    std::string ebSeed = "3000";
    std::string ebSeedMin = "0";
    std::string ebSeedMax = "5000";
    bool cbMin = false;
    std::string ebMinPrice = "0";
    bool cbMax = false;
    std::string ebMaxPrice = "5000";
    bool rbSoft = false;
    std::string ebVolatility = "1";
    bool cbActiveBias = false;
    std::string ebBias = "4.5";
    bool cbActiveShock = false;
    std::string ebShockFreq = "100";
    std::string ebShockMag = "3";
    std::string ebMinVolume = "0";
    std::string ebMaxVolume = "1000";
    bool cbDirtyDataActive = false;
    std::string ebDirtydata = "5";
};

// Reads the members above from the controls of the same names.
PanelValues ReadPanelValues(const PanelControls& panel);

}  // namespace tickforge

#pragma once
// Everything one generation run reads from the panel, exactly as the controls show it.
// Conversion to numbers is part of the run, so that errors arise in the run's order.

#include "generation/PanelControls.h"

#include <string>

namespace tickforge {

struct PanelValues {
    // The texts and ticks of the designed panel; StartDate 0.
    PanelValues();

    DateTimeValue StartDate = 0.0;
    std::string ebLength;
    bool cbRandomPeriod = false;
    std::string ebRandomPeriodMin;
    bool cbWeekends = false;
    std::string ebTicksPerDay;
    bool cbSeedRandom = false;
    std::string ebSeed;
    std::string ebSeedMin;
    std::string ebSeedMax;
    bool cbMin = false;
    std::string ebMinPrice;
    bool cbMax = false;
    std::string ebMaxPrice;
    bool rbSoft = false;
    std::string ebVolatility;
    bool cbActiveBias = false;
    std::string ebBias;
    bool cbActiveShock = false;
    std::string ebShockFreq;
    std::string ebShockMag;
    std::string ebMinVolume;
    std::string ebMaxVolume;
    bool cbDirtyDataActive = false;
    std::string ebDirtydata;
};

// Reads the members above from the controls of the same names.
PanelValues ReadPanelValues(const PanelControls& panel);

}  // namespace tickforge

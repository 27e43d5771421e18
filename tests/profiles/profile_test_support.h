// Random profiles that the panel can hold, for the round-trip tests.
#ifndef ORVENDA_TESTS_PROFILES_PROFILE_TEST_SUPPORT_H
#define ORVENDA_TESTS_PROFILES_PROFILE_TEST_SUPPORT_H

#include <random>

#include "core/profiles/settings_profile.h"

namespace orvenda::testing {

// Every value on the panel's steps and within its limits, every switch and
// choice drawn, the interlocked pairs equal when their interlock is on.
inline profiles::SettingsProfile randomProfile(std::mt19937& random) {
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto coin = [&pick] { return pick(0, 1) == 1; };
    profiles::SettingsProfile p;
    p.iqFilterOn = coin();
    p.filter = pick(0, 2);
    p.dataFullScale = pick(0, 1000) / 1000.0;
    p.iqInverse = coin();
    p.iqOffsetOn = coin();
    p.iqOffsetInterlock = coin();
    p.iOffset = 5 * pick(-150, 150);
    p.qOffset = p.iqOffsetInterlock ? p.iOffset : 5 * pick(-150, 150);
    p.iqOutputOn = coin();
    p.iqOutputPath = pick(0, 1);
    p.iqOutputInterlock = coin();
    p.iOutput = 5 * pick(40, 400);
    p.qOutput = p.iqOutputInterlock ? p.iOutput : 5 * pick(40, 400);
    p.outputSequenceOn = p.startTriggerOn = coin();
    p.startTrigger = pick(0, 1);
    p.outputSequence = pick(0, p.startTrigger == 1 ? 2 : 1);
    p.loops = pick(1, 65536);
    p.gate = pick(0, 1);
    p.linkPolarity = pick(0, 1);
    p.samplingFrequencyMHz = pick(125000, 2000000) / 10000.0;  // one rounding, as reading "61.44" does
    p.markerOn = coin();
    p.markerEdit = pick(0, 1);
    p.marker1On = coin();
    p.marker2On = coin();
    for (auto* points : {&p.marker1Points, &p.marker2Points}) {
        const int count = pick(0, 12);
        int pos = 0;
        for (int k = 0; k < count; ++k, pos += 2 * pick(1, 500)) points->push_back({pos, pick(0, 1)});
    }
    p.ifMode = pick(0, 1);
    p.carrierMHz = pick(-100000, 100000) / 1000.0;
    return p;
}

}  // namespace orvenda::testing

#endif

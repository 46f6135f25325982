#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Trig_Functions.h"
#include "engine/alignment_calculations.h"
#include "engine/observation.h"

// Starts each test from a blank observation with the constants set, collects the range-error
// messages instead of printing them, and lets a test choose the daylight-saving option.
class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace ac = alignment_calculations;
        ac::ObsDate = 0;
        ac::Latitude = ac::Longitude = ac::ZoneMeridian = 0;
        ac::ClockTime = {};
        ac::SunTable = {};
        ac::InitConstants();
        Trig_Functions::SetRangeErrorHandler(
            [this](const std::string& message) { messages.push_back(message); });
        ac::SetDaylightOptionSource([this] { return daylight; });
    }

    void TearDown() override {
        Trig_Functions::SetRangeErrorHandler({});
        alignment_calculations::SetDaylightOptionSource({});
    }

    // Serial date of a calendar date (day 0 = 30 December 1899).
    static double Serial(int year, int month, int day) {
        return kestramo::SerialDayOf(year, month, day);
    }

    static double Clock(int hours, int minutes, int seconds) {
        return (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
    }

    // Sets the shared state to every observation of a sweep over what the window admits and
    // calls `visit` with it: years 1800 to 2200 every `yearStep`, five months, latitudes -90 to
    // 90, longitudes -180 to 180, five zones, both clock kinds and eight clock readings. The
    // observation passed is written out here, not read back through the engine.
    template <class Visit>
    void ForEachSweptObservation(int yearStep, Visit visit) {
        namespace ac = alignment_calculations;
        for (int year = 1800; year <= 2200; year += yearStep) {
            for (int month : {1, 3, 6, 9, 12}) {
                ac::ObsDate = Serial(year, month, 15);
                for (double latitude = -90; latitude <= 90; latitude += 15) {
                    ac::Latitude = latitude;
                    for (double longitude = -180; longitude <= 180; longitude += 30) {
                        ac::Longitude = longitude;
                        for (int zone : {0, 6, 11, 17, 23}) {
                            ac::ZoneMeridian = (zone - 11) * 15.0;
                            for (int dst : {0, -1}) {
                                daylight = dst;
                                for (double clock = 0; clock < 1; clock += 0.125) {
                                    ac::ClockTime[1] = clock;
                                    visit(kestramo::Observation{
                                        .date = ac::ObsDate,
                                        .clockTime = clock,
                                        .latitude = latitude,
                                        .longitude = longitude,
                                        .zoneMeridian = ac::ZoneMeridian,
                                        .daylightSaving = dst != 0,
                                    });
                                }
                            }
                        }
                    }
                }
            }
        }
    }

    int daylight = 0;
    std::vector<std::string> messages;
};

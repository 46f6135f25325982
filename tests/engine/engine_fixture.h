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

    int daylight = 0;
    std::vector<std::string> messages;
};

// The status chart as the tests see it: a panel on a frozen simulated dryer with a short-term
// log written by hand, and the chart's rows read back from what its last paint drew.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dryer/records/data_log_sample.h"
#include "platform/runtime/runtime.h"
#include "tests/dryer/program/panel_run.h"

namespace chart_test {

// A sample taken at hour:minute on 3 March whose moisture in carries n.
DataLogSample SampleAt(int n, int hour, int minute);

// Writes samples 0..count-1, ten minutes apart from 06:00, into a log file of the panel root.
void SeedLog(const std::filesystem::path& root, int count,
             const std::string& name = "DATA_LOG_24HR26_03_03_06_00_00.DAT");
void SeedLogSamples(const std::filesystem::path& root, const std::vector<DataLogSample>& samples,
                    const std::string& name = "DATA_LOG_24HR26_03_03_06_00_00.DAT");

// A display started on a dryer that stands still (not unloading), with `count` samples logged.
std::unique_ptr<panel_test::PanelRun> ChartPanel(int count);

// What the chart drew in its last paint.
std::vector<platform::DrawnText> ChartTexts();
// The texts of row i, left to right; empty when the row was not drawn.
std::vector<std::wstring> Row(int i);
// The moisture-in number of each drawn row, top to bottom (sample numbers from SeedLog).
std::vector<int> RowNumbers();

}  // namespace chart_test

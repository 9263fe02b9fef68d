// The graph screen as the tests see it: a panel on a frozen simulated dryer in the graph view,
// with a graph log and registry values written before it starts, and what the graph area drew.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dryer/records/data_log_sample.h"
#include "platform/runtime/runtime.h"
#include "tests/dryer/program/panel_run.h"

namespace graph_test {

// Sample n of a seeded log, ten seconds apart from 06:00:00 on 3 March: moisture in 150 + n % 50
// tenths, temperatures and roll speed moving with n.
DataLogSample GraphSample(int n);

// Writes samples first..first+count-1 into a graph log file of the panel root.
void SeedGraphLog(const std::filesystem::path& root, int first, int count,
                  const std::string& name = "GRAPH_DATA_LOG_24HR26_03_03_06_00_00.DAT");

// Stores a one-byte display setting in the registry of the panel root.
void StoreSetting(const std::filesystem::path& root, const wchar_t* name, BYTE value);

// A display on a dryer that stands still, with `samples` logged, the trace byte and scale code
// in the registry, switched to the graph view.
std::unique_ptr<panel_test::PanelRun> GraphPanel(int samples, BYTE traces, BYTE scale = 0);

// Switches a running display to the graph view through the view menu.
void ShowGraphView();

// What the graph area drew in its last paint, with boxes relative to the graph area.
std::vector<platform::DrawnText> GraphTexts();

// The registry's byte of a display setting; -1 when missing.
int StoredSetting(const wchar_t* name);

}  // namespace graph_test

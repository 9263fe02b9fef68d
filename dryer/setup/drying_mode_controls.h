// Control ids of the drying mode dialogs "Drying Mode Selection - 07", "CONTINUOUS FLOW SETUP -
// 08" and "STAGED BATCH SETUP - 09". A button's indicator is a radio button that only shows the
// state; pressing an indicator does nothing.
#pragma once

// ---- "Drying Mode Selection - 07" ----
inline constexpr int kModeContinuousButton = 1301;
inline constexpr int kModeBatchButton = 1302;
inline constexpr int kModeMoistureSetupButton = 1303;  // owner-drawn
inline constexpr int kModeAcceptButton = 1304;
inline constexpr int kModeHelpButton = 1305;
inline constexpr int kModeContinuousIndicator = 1306;
inline constexpr int kModeBatchIndicator = 1307;

// ---- "CONTINUOUS FLOW SETUP - 08" ----
inline constexpr int kFlowTemperatureButton = 1321;
inline constexpr int kFlowMoistureButton = 1322;
inline constexpr int kFlowTemperatureIndicator = 1323;
inline constexpr int kFlowMoistureIndicator = 1324;
inline constexpr int kFlowTempGroup = 1325;  // "Temp Based Options"
inline constexpr int kFlowTempTwoSpeedButton = 1326;
inline constexpr int kFlowTempFiveSpeedButton = 1327;
inline constexpr int kFlowTempTwoSpeedIndicator = 1328;
inline constexpr int kFlowTempFiveSpeedIndicator = 1329;
inline constexpr int kFlowMoistureGroup = 1330;  // "Moisture Based Options"
inline constexpr int kFlowVariableButton = 1331;
inline constexpr int kFlowMoistureFiveSpeedButton = 1332;
inline constexpr int kFlowVariableIndicator = 1333;
inline constexpr int kFlowMoistureFiveSpeedIndicator = 1334;
inline constexpr int kFlowFiveSpeedGroup = 1335;  // "5 Speed Setup"
inline constexpr int kFlowAutoCenteringButton = 1336;
inline constexpr int kFlowAutoCenteringIndicator = 1337;  // "ENABLED"
inline constexpr int kFlowFiveSpeedSetupButton = 1338;
inline constexpr int kFlowSafetyGroup = 1339;   // "Safety Parameters"
inline constexpr int kFlowSafetyButton = 1340;  // "DISABLE" / "ENABLE"
inline constexpr int kFlowMaxGrainTempButton = 1341;
inline constexpr int kFlowMaxGrainTempValue = 1342;
inline constexpr int kFlowSensorGroup = 1343;  // "Upper Moisture Sensor"
inline constexpr int kFlowSensorSelectButton = 1344;
inline constexpr int kFlowSensorEnabledIndicator = 1345;
inline constexpr int kFlowSensorDisabledIndicator = 1346;
inline constexpr int kFlowAcceptButton = 1347;
inline constexpr int kFlowHelpButton = 1348;

// ---- "STAGED BATCH SETUP - 09" ----
inline constexpr int kBatchTimeButton = 1361;
inline constexpr int kBatchTemperatureButton = 1362;
inline constexpr int kBatchMoistureButton = 1363;
inline constexpr int kBatchTimeIndicator = 1364;
inline constexpr int kBatchTemperatureIndicator = 1365;
inline constexpr int kBatchMoistureIndicator = 1366;
inline constexpr int kBatchDescription = 1367;
inline constexpr int kBatchSafetyGroup = 1368;   // "Safety Parameters"
inline constexpr int kBatchSafetyButton = 1369;  // "DISABLE" / "ENABLE"
inline constexpr int kBatchMaxTimeButton = 1370;
inline constexpr int kBatchMaxTimeValue = 1371;
inline constexpr int kBatchMaxGrainTempButton = 1372;
inline constexpr int kBatchMaxGrainTempValue = 1373;
inline constexpr int kBatchTempGroup = 1374;  // "Temperature Based Options"
inline constexpr int kBatchSingleButton = 1375;
inline constexpr int kBatchDualButton = 1376;
inline constexpr int kBatchSingleIndicator = 1377;
inline constexpr int kBatchDualIndicator = 1378;
inline constexpr int kBatchDualNote1 = 1379;
inline constexpr int kBatchDualNote2 = 1380;
inline constexpr int kBatchMoistureGroup = 1381;  // "Moisture Based Options"
inline constexpr int kBatchFullHeatButton = 1382;
inline constexpr int kBatchTwoThirdsButton = 1383;
inline constexpr int kBatchHalfButton = 1384;
inline constexpr int kBatchFullHeatIndicator = 1385;
inline constexpr int kBatchTwoThirdsIndicator = 1386;
inline constexpr int kBatchHalfIndicator = 1387;
inline constexpr int kBatchAcceptButton = 1388;
inline constexpr int kBatchHelpButton = 1389;

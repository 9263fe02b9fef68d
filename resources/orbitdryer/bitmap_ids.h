// The bitmap resources of the operator display by name. Button faces come in pairs, the pressed
// face one below the released one. Picture sets with frames (fans, meter rolls) name their
// first frame; frame n is the id plus n.
#pragma once

// ---- the bottom row of the home screen (105 x 40) ----
inline constexpr int kBitmapMcDown = 104;
inline constexpr int kBitmapMcUp = 105;
inline constexpr int kBitmapSetupDown = 106;
inline constexpr int kBitmapSetupUp = 107;
inline constexpr int kBitmapTempDown = 108;
inline constexpr int kBitmapTempUp = 109;
inline constexpr int kBitmapTimersDown = 110;
inline constexpr int kBitmapTimersUp = 111;
inline constexpr int kBitmapViewDown = 112;
inline constexpr int kBitmapViewUp = 113;
inline constexpr int kBitmapMcGreyed = 320;  // shown in both states while M/C is unavailable

// ---- exit of the view menu and of the full-screen selection screens (158 x 41) ----
inline constexpr int kBitmapExitDown = 136;
inline constexpr int kBitmapExitUp = 137;

// ---- the view menu (200 x 50) ----
inline constexpr int kBitmapManualsDown = 261;
inline constexpr int kBitmapManualsUp = 262;
inline constexpr int kBitmapHistoryDown = 278;
inline constexpr int kBitmapHistoryUp = 279;
inline constexpr int kBitmapChartViewDown = 282;
inline constexpr int kBitmapChartViewUp = 283;
inline constexpr int kBitmapGraphViewDown = 284;
inline constexpr int kBitmapGraphViewUp = 285;
inline constexpr int kBitmapSystemInfoDown = 438;
inline constexpr int kBitmapSystemInfoUp = 439;
inline constexpr int kBitmapSoftwareInfoDown = 525;
inline constexpr int kBitmapSoftwareInfoUp = 526;

// ---- "Please turn off DEFAULTS dipswitch! - 33" ----
inline constexpr int kBitmapDefaultsDipswitch = 180;

// ---- the dryer picture ----
inline constexpr int kBitmapOneModuleDryer = 367;    // 180 x 315
inline constexpr int kBitmapTwoModuleDryer = 324;    // 150 x 400
inline constexpr int kBitmapThreeModuleDryer = 323;  // 140 x 410
inline constexpr int kBitmapTowerDryer = 406;        // 180 x 315
// Burner symbols (40 x 40): one fan/heater, or more; the manual forms while the MANUAL switch
// is on.
inline constexpr int kBitmapBurner = 485;
inline constexpr int kBitmapBurnerManual = 487;
inline constexpr int kBitmapBurnersManual = 489;
inline constexpr int kBitmapBurners = 490;
// Fans (111 x 113), three frames each: on a one-heater dryer and on dryers with more.
inline constexpr int kBitmapFanIdle = 292;      // white blades
inline constexpr int kBitmapFanRunning = 295;   // blue
inline constexpr int kBitmapFanHighFire = 301;  // red
inline constexpr int kBitmapFanLowFire = 304;
inline constexpr int kBitmapFansIdle = 341;
inline constexpr int kBitmapFansRunning = 344;
inline constexpr int kBitmapFansHighFire = 347;
inline constexpr int kBitmapFansLowFire = 350;
// Load and unload augers (38 x 38): frames 0, 1, 2.
inline constexpr int kBitmapAugerFrame0 = 310;
inline constexpr int kBitmapAugerFrame1 = 311;
inline constexpr int kBitmapAugerFrame2 = 316;
inline constexpr int kBitmapMeterRoll = 317;     // 23 x 23, three frames
inline constexpr int kBitmapRunIndicator = 462;  // 32 x 32, top left while the board says so

// ---- the warning window ----
inline constexpr int kBitmapHelpDown = 204;
inline constexpr int kBitmapHelpUp = 205;
inline constexpr int kBitmapShutdownPicture = 517;  // 100 x 92
inline constexpr int kBitmapPanelPicture = 259;     // 100 x 75, the connection-lost panel
inline constexpr int kBitmapDryerPicture = 260;     // 100 x 124, the connection-lost panel

// the buttons of the timer screen's pages, 200 x 50
inline constexpr int kBitmapLoadDelayDown = 1650;
inline constexpr int kBitmapLoadDelayUp = 1651;
inline constexpr int kBitmapOutOfGrainDown = 1652;
inline constexpr int kBitmapOutOfGrainUp = 1653;
inline constexpr int kBitmapFanDelayDown = 1654;
inline constexpr int kBitmapFanDelayUp = 1655;
inline constexpr int kBitmapFanRunAfterDown = 1656;
inline constexpr int kBitmapFanRunAfterUp = 1657;
inline constexpr int kBitmapUnloadDelayDown = 1658;
inline constexpr int kBitmapUnloadDelayUp = 1659;
// Plenum setpoint buttons (180 x 50): burners 1-6, and the dual-heat pair of setpoints.
inline constexpr int kBitmapBurner1Down = 742;
inline constexpr int kBitmapBurner1Up = 743;
inline constexpr int kBitmapBurner2Down = 744;
inline constexpr int kBitmapBurner2Up = 745;
inline constexpr int kBitmapBurner3Down = 746;
inline constexpr int kBitmapBurner3Up = 747;
inline constexpr int kBitmapBurner4Down = 748;
inline constexpr int kBitmapBurner4Up = 749;
inline constexpr int kBitmapBurner5Down = 750;
inline constexpr int kBitmapBurner5Up = 751;
inline constexpr int kBitmapBurner6Down = 752;
inline constexpr int kBitmapBurner6Up = 753;
inline constexpr int kBitmapHiHeatDown = 754;
inline constexpr int kBitmapHiHeatUp = 755;
inline constexpr int kBitmapLoHeatDown = 756;
inline constexpr int kBitmapLoHeatUp = 757;
// Grain setpoint buttons: the one setpoint (200 x 50), the dual-heat pair (127 x 25).
inline constexpr int kBitmapGrainDown = 758;
inline constexpr int kBitmapGrainUp = 759;
inline constexpr int kBitmapGrainUpperDown = 760;
inline constexpr int kBitmapGrainUpperUp = 761;
inline constexpr int kBitmapGrainLowerDown = 762;
inline constexpr int kBitmapGrainLowerUp = 763;
// ---- the set-up selection screen, and the hardware set-up of the extended one (175 x 50) ----
inline constexpr int kBitmapDryingModeDown = 880;
inline constexpr int kBitmapDryingModeUp = 881;
inline constexpr int kBitmapContinuousFlowDown = 882;  // the drying set-up of a continuous dryer
inline constexpr int kBitmapContinuousFlowUp = 883;
inline constexpr int kBitmapStagedBatchDown = 884;  // the drying set-up of a batch dryer
inline constexpr int kBitmapStagedBatchUp = 885;
inline constexpr int kBitmapUnloadParametersDown = 886;
inline constexpr int kBitmapUnloadParametersUp = 887;
inline constexpr int kBitmapPlenumManagerDown = 888;
inline constexpr int kBitmapPlenumManagerUp = 889;
inline constexpr int kBitmapBurnerModeDown = 890;
inline constexpr int kBitmapBurnerModeUp = 891;
inline constexpr int kBitmapMoistureCalibrationDown = 892;
inline constexpr int kBitmapMoistureCalibrationUp = 893;
inline constexpr int kBitmapExtendedSetupDown = 894;
inline constexpr int kBitmapExtendedSetupUp = 895;
inline constexpr int kBitmapHardwareSetupDown = 896;
inline constexpr int kBitmapHardwareSetupUp = 897;
// the other buttons of " SELECT SETUP PARAMETER TO MODIFY - 06" (175 x 50)
inline constexpr int kBitmapDiagnosticsDown = 900;
inline constexpr int kBitmapDiagnosticsUp = 901;
inline constexpr int kBitmapBurnerDifferentialDown = 902;
inline constexpr int kBitmapBurnerDifferentialUp = 903;
inline constexpr int kBitmapPrinterSetupDown = 904;
inline constexpr int kBitmapPrinterSetupUp = 905;
inline constexpr int kBitmapRollReverseDown = 906;
inline constexpr int kBitmapRollReverseUp = 907;
inline constexpr int kBitmapMoistureSamplerDown = 908;
inline constexpr int kBitmapMoistureSamplerUp = 909;
inline constexpr int kBitmapUnloadBushelsDown = 910;
inline constexpr int kBitmapUnloadBushelsUp = 911;
inline constexpr int kBitmapTimeDateDown = 912;
inline constexpr int kBitmapTimeDateUp = 913;
inline constexpr int kBitmapUnitsDown = 914;
inline constexpr int kBitmapUnitsUp = 915;
inline constexpr int kBitmapDataLoggerDown = 916;
inline constexpr int kBitmapDataLoggerUp = 917;
inline constexpr int kBitmapUserSettingsDown = 918;
inline constexpr int kBitmapUserSettingsUp = 919;
inline constexpr int kBitmapBatchCounterDown = 920;
inline constexpr int kBitmapBatchCounterUp = 921;
// "MOISTURE CONTROL SETUP" of "Drying Mode Selection - 07" (175 x 50)
inline constexpr int kBitmapMoistureSetupDown = 700;
inline constexpr int kBitmapMoistureSetupUp = 701;
// ---- the graph screen's trace buttons (110 x 33): the face of a trace switched on (drawn
// pressed), then off ----
inline constexpr int kBitmapGraphMoistInOff = 1701;
inline constexpr int kBitmapGraphMoistInOn = 1700;
inline constexpr int kBitmapGraphTempInOff = 1703;
inline constexpr int kBitmapGraphTempInOn = 1702;
inline constexpr int kBitmapGraphMoistOutOff = 1705;
inline constexpr int kBitmapGraphMoistOutOn = 1704;
inline constexpr int kBitmapGraphTempOutOff = 1707;
inline constexpr int kBitmapGraphTempOutOn = 1706;
inline constexpr int kBitmapGraphGrainTempOff = 1709;
inline constexpr int kBitmapGraphGrainTempOn = 1708;
inline constexpr int kBitmapGraphMrSpeedOff = 1711;
inline constexpr int kBitmapGraphMrSpeedOn = 1710;

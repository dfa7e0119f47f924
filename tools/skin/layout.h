// Where the editor's screens put their controls, as far as the backgrounds
// must be laid out around them: the synth page's knobs, sliders, toggles and
// displays, the perform pads, and the lists and buttons of the library
// screens and dialogs. Synth page positions are in the page's own window,
// which sits kSynthTop below the editor's top edge, under the top bar.
// Thread: the skin tool is single-threaded.
#pragma once

namespace skin::layout {

constexpr int kEditorWidth = 767;
constexpr int kEditorHeight = 638;
constexpr int kTopBarHeight = 40;
constexpr int kSynthTop = 40;
constexpr int kPerformX = 0;
constexpr int kPerformY = 110;

struct Point {
  int x, y;
};
struct Rect {
  int x, y, w, h;
};
struct Slider {
  int x, y, length;
};

// Top bar, editor coordinates.
constexpr Rect kSynthTab{118, 4, 68, 32};
constexpr Rect kPresetTab{187, 4, 68, 30};
constexpr Rect kPerformTab{255, 4, 70, 30};
constexpr Rect kPatchName{362, 8, 152, 24};

// Synth page. Knobs are placed by their point: the knob window is 31 x 32
// at (x - 3, y - 4).
constexpr int kKnobWidth = 31;
constexpr int kKnobHeight = 32;
constexpr Point kKnobs[] = {
    {18, 76},   {55, 76},   {18, 193},  {55, 193},  {360, 90},  {360, 125}, {468, 58},  {468, 104},
    {20, 545},  {50, 545},  {80, 545},  {130, 545}, {160, 545}, {190, 545}, {240, 545}, {270, 545},
    {300, 545}, {350, 538}, {410, 538}, {690, 518}, {615, 550}, {615, 510}};
// Horizontal sliders with the down pointer: pan, unison, balance, the three
// sends, release.
constexpr Slider kHorizontalSliders[] = {{25, 140, 48},  {35, 169, 48},  {125, 220, 50}, {700, 105, 40},
                                         {700, 158, 40}, {700, 210, 40}, {529, 282, 52}};
// Vertical faders, top is 1: the four voice levels and the master volume.
constexpr Slider kFaders[] = {{465, 535, 40}, {485, 535, 40}, {505, 535, 40}, {525, 535, 40}, {748, 525, 40}};
constexpr Slider kKeyMode{582, 532, 43};
constexpr Rect kBowl{169, 82, 106, 106};
constexpr Rect kMiniWaves[] = {{114, 115, 44, 34}, {198, 43, 44, 34}, {283, 115, 44, 34}, {198, 193, 44, 34}};
constexpr Rect kTimeline{105, 244, 420, 240};
constexpr Rect kModDisplay{450, 146, 228, 81};
constexpr Rect kZoomOut{554, 263, 13, 13};
constexpr Rect kZoomIn{571, 263, 13, 13};
constexpr Rect kGridLabel{709, 256, 22, 12};
// Value displays: pitch, bend range, polyphony.
constexpr Rect kValueDisplays[] = {{15, 60, 20, 10}, {670, 526, 15, 15}, {595, 517, 15, 15}};
// Rows of the five coloured lines inside the timeline display.
constexpr int kLineRowTop = 105;
constexpr int kLineRowHeight = 19;
constexpr int kLineRowY[] = {352, 372, 391, 410, 429};
constexpr int kLineMenuY[] = {350, 370, 389, 408, 428};

// Perform page: six blocks in the page, the pad and the hot areas in a block.
constexpr Point kPerformBlocks[] = {{10, 30}, {280, 30}, {550, 30}, {10, 250}, {280, 250}, {550, 250}};
constexpr int kBlockWidth = 205;
constexpr int kBlockHeight = 200;
constexpr Rect kPad{5, 5, 100, 100};
constexpr Point kAssignX{13, 117};
constexpr Point kAssignY{120, 10};
constexpr Point kLearnX{111, 154};
constexpr Point kLearnY{144, 82};

// Preset page, editor coordinates: two lists of 15-pixel rows with their
// buttons under them, and the show-folder button.
constexpr int kListRow = 15;
constexpr Rect kPresetCategories{24, 98, 230, 450};
constexpr Rect kPresetPatches{274, 98, 300, 450};
constexpr int kPresetButtonsY = 558;
constexpr Point kPresetShowFolder{594, 98};
constexpr Point kPresetClose{594, 558};

// Dialogs. Library buttons are 46 x 18 with 6 pixels between them.
constexpr int kLibButtonWidth = 46;
constexpr int kLibButtonHeight = 18;
constexpr int kLibButtonStep = 52;

constexpr int kBrowserWidth = 447;
constexpr int kBrowserHeight = 306;
constexpr Rect kBrowserCategories{9, 34, 150, 225};
constexpr Rect kBrowserWaves{169, 34, 150, 225};
constexpr Rect kBrowserPreview{330, 33, 100, 100};
constexpr Rect kBrowserStandard{348, 240, 66, 17};
constexpr Point kBrowserImport{330, 142};
constexpr Point kBrowserSave{384, 142};
constexpr Point kBrowserClose{357, 280};
constexpr int kBrowserButtonsY = 265;

constexpr int kWaveEditorWidth = 573;
constexpr int kWaveEditorHeight = 503;
constexpr Rect kWaveGraph{28, 32, 513, 147};
constexpr Point kPartialGraph{28, 213};
constexpr int kPartialBaseline = 105;
constexpr int kPartialPhaseTop = 106;
constexpr int kPartialAreaHeight = 105;
constexpr int kPartialWidth = 513;

constexpr int kTimelineDialogWidth = 490;
constexpr int kTimelineSaveWidth = 300;
constexpr int kTimelineDialogHeight = 320;
constexpr Rect kTimelineCategories{155, 52, 140, 210};
constexpr Rect kTimelinePresets{345, 52, 140, 210};
constexpr int kTimelineToggleX = 5;
constexpr int kTimelineToggleY = 62;
constexpr int kTimelineToggleStep = 24;
constexpr int kTimelineButtonsY = 270;
constexpr Point kTimelineClose{5, 292};
constexpr Point kTimelineSave{57, 292};

constexpr int kSaveDialogWidth = 300;
constexpr int kSaveDialogHeight = 300;
constexpr Rect kSaveCategories{10, 50, 180, 195};
constexpr Point kSaveSideButtons{200, 50};
constexpr Rect kSaveName{10, 266, 180, 20};
constexpr Point kSaveSave{200, 268};
constexpr Point kSaveCancel{250, 268};

constexpr int kSelectionBarWidth = 727;
constexpr int kSelectionBarHeight = 91;
constexpr int kSelectionBarShownY = 497;

}  // namespace skin::layout

#pragma once
#include "platform/Gui.h"
#include "resources/ResourceIds.h"

// The program's window classes and their icon.
inline constexpr gui::Identity kIdentity{L"TarvoWindow", TARVO_ICON};

// Numbers of the main window and its controls.
inline constexpr int kMainWindow = 0;
inline constexpr int kPictureControl = 0;
inline constexpr int kInstallButton = 1;
inline constexpr int kUninstallButton = 2;
inline constexpr int kBannerImage = 0;

// Builds the installer's one window: the banner on black and the two action buttons.
// Returns false when the window can't be created (then no control is made).
bool OpenMainWindow(gui::Gui& gui);

#pragma once
// An installed program's shipped INI files stay as installed; what the user writes goes into a
// file of the same name in the user's folder, which holds only the keys written there. Every
// IniFile opened on a shipped file reads such an overlay first: a key the user wrote wins, every
// other key follows the installed file, through later updates of it too.
#include <string>

namespace ostiva {

// From now on an IniFile opened on `path` reads `overlayPath` first (a missing overlay file
// reads as empty). An empty `overlayPath`, or `path` itself, removes the overlay.
void SetIniOverlay(const std::string& path, const std::string& overlayPath);

// The overlay of `path`; empty when it has none.
std::string IniOverlayOf(const std::string& path);

} // namespace ostiva

// The looping copy animation of the batch copy: an animation control inside a host window
// playing an AVI clip from a library's resources (or from a file). One animation at a time
// for the program's life.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

namespace salva::mplayAVICtrl {

// Starts the clip `resource` of `library` (with resource 0, `library` names an AVI file) in a
// new animation control inside `host`; any earlier animation goes first. True when it plays;
// false, with nothing left behind, when the library, the control or the clip fails.
bool OpenAVIWindow(HWND host, const std::wstring& library, int32_t resource, bool centre, bool autoPlay,
                   bool transparent);
// Stops and closes the clip, destroys the control and frees the library.
void CloseAVIWindow();
// Registers the common-control classes of `classes` (ICC_... flags), once per program run.
void InitAnimateControl(uint32_t classes);
// Centres the animation in the host, keeping its size.
void FitAVIWindow(HWND host);

// The animation control while one is open, else null.
HWND AnimationWindow();

}  // namespace salva::mplayAVICtrl

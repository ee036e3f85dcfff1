// Short clips made by the machine's ffmpeg for the preview tests: a Video CD track, a DVD's
// MPEG-2 program stream (named .MPG: .VOB is no media ending), an MP3 and a WAV,
// three seconds each, in a folder of their own.
#pragma once
#include "TestSupport.h"
#include <windows.h>
#include <functional>
#include <string>

namespace mediatest {

class MediaClips {
public:
    MediaClips();
    // Empty when ffmpeg could not make it.
    const std::wstring& Vcd() const { return vcd_; }
    const std::wstring& Dvd() const { return dvd_; }
    const std::wstring& Mp3() const { return mp3_; }
    const std::wstring& Wav() const { return wav_; }
    bool ok() const { return !vcd_.empty() && !dvd_.empty() && !mp3_.empty() && !wav_.empty(); }

private:
    testsupport::TempDir dir_;
    std::wstring vcd_, dvd_, mp3_, wav_;
};

// Lets window messages run until `done` answers true or about `limitMs` have gone by.
bool PumpUntil(const std::function<bool()>& done, int limitMs = 15000);

// How many different strong colours (no greys, which text and panels are drawn in) the window
// shows in its client area.
int VividColoursOnScreen(HWND window);

}  // namespace mediatest

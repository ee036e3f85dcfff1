// The preview pane the open-file dialog hosts beside its list. The dialog's hook knows it only
// through this face; the program sets the media pane at start-up. With none set, the hook
// places nothing.
#pragma once
#include <windows.h>
#include <string>

namespace salva {

class OpenDialogPane {
public:
    virtual ~OpenDialogPane() = default;
    // The pane's window, loaded when first asked for.
    virtual HWND Window() = 0;
    // Client size and whole window size, in pixels.
    virtual SIZE InnerSize() = 0;
    virtual SIZE OuterSize() = 0;
    // Resets the pane and shows the file's facts (and a preview for a media type it knows).
    virtual bool OpenMediaFile(const std::wstring& path) = 0;
    // Resets the pane and shows the file's facts only: no media is opened, and the previous
    // file's picture leaves the pane.
    virtual void ShowFileFacts(const std::wstring& path) = 0;
    // Stops and releases any loaded media.
    virtual void StopPlay() = 0;
    // Stops any preview and destroys the pane's window (loaded again on next use).
    virtual void Unload() = 0;
};

// The pane the open dialog hosts; null when none.
OpenDialogPane* CurrentOpenDialogPane();
void SetOpenDialogPane(OpenDialogPane* pane);

}  // namespace salva

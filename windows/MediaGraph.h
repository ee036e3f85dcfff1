// One filter graph built for one file, reached through the interfaces the preview windows
// use: control, position, basic audio, basic video and video window. The program's graphs
// are DirectShow's filter graph manager; tests hand in graphs of their own.
#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <string>

namespace salva {

class MediaGraph {
public:
    virtual ~MediaGraph() = default;

    virtual HRESULT RenderFile(const std::wstring& path) = 0;
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT GetDuration(double& seconds) = 0;
    virtual HRESULT GetCurrentPosition(double& seconds) = 0;
    virtual HRESULT PutCurrentPosition(double seconds) = 0;
    virtual HRESULT GetSourceSize(long& width, long& height) = 0;
    // Owner, then window style 0, then the owner again: a plain child of `owner`.
    virtual HRESULT AttachVideoWindow(HWND owner) = 0;
    virtual HRESULT SetVideoWindowPosition(long left, long top, long width, long height) = 0;

    // Releases the control, audio, video and position references.
    virtual void ReleasePlayback() = 0;
    // Hides the video window, takes it from its owner and releases the window reference.
    virtual void ReleaseVideoWindow() = 0;
    virtual bool HasControl() const = 0;
    virtual bool HasVideoWindow() const = 0;
};

// A new graph holding its control, audio and position references, and the video and window
// ones when asked for; null when the graph or one of them cannot be had.
using MediaGraphFactory = std::function<std::unique_ptr<MediaGraph>(bool withVideo, bool withWindow)>;

// Graphs of DirectShow's filter graph manager (COM initialised on the calling thread).
MediaGraphFactory DirectShowGraphFactory();

}  // namespace salva

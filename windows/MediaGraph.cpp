#include "windows/MediaGraph.h"
#include "services/Holders.h"
#include <control.h>
#include <uuids.h>

namespace salva {
namespace {

class DirectShowGraph final : public MediaGraph {
public:
    bool Create(bool withVideo, bool withWindow) {
        if (FAILED(::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaControl,
                                      control_.put_void())))
            return false;
        if (FAILED(control_->QueryInterface(IID_IBasicAudio, audio_.put_void())) ||
            FAILED(control_->QueryInterface(IID_IMediaPosition, position_.put_void())))
            return false;
        if (withVideo && FAILED(control_->QueryInterface(IID_IBasicVideo, video_.put_void()))) return false;
        if (withWindow && FAILED(control_->QueryInterface(IID_IVideoWindow, window_.put_void()))) return false;
        return true;
    }
    ~DirectShowGraph() override {
        ReleasePlayback();
        ReleaseVideoWindow();
    }

    HRESULT RenderFile(const std::wstring& path) override {
        if (!control_) return E_POINTER;
        unique_bstr name(::SysAllocString(path.c_str()));
        if (!name) return E_OUTOFMEMORY;
        return control_->RenderFile(name.get());
    }
    HRESULT Run() override { return control_ ? control_->Run() : E_POINTER; }
    HRESULT Pause() override { return control_ ? control_->Pause() : E_POINTER; }
    HRESULT Stop() override { return control_ ? control_->Stop() : E_POINTER; }
    HRESULT GetDuration(double& seconds) override {
        REFTIME t = 0;
        const HRESULT hr = position_ ? position_->get_Duration(&t) : E_POINTER;
        if (SUCCEEDED(hr)) seconds = t;
        return hr;
    }
    HRESULT GetCurrentPosition(double& seconds) override {
        REFTIME t = 0;
        const HRESULT hr = position_ ? position_->get_CurrentPosition(&t) : E_POINTER;
        if (SUCCEEDED(hr)) seconds = t;
        return hr;
    }
    HRESULT PutCurrentPosition(double seconds) override {
        return position_ ? position_->put_CurrentPosition(seconds) : E_POINTER;
    }
    HRESULT GetSourceSize(long& width, long& height) override {
        if (!video_) return E_POINTER;
        RETURN_IF_FAILED(video_->get_SourceWidth(&width));
        return video_->get_SourceHeight(&height);
    }
    HRESULT AttachVideoWindow(HWND owner) override {
        if (!window_) return E_POINTER;
        const OAHWND o = reinterpret_cast<OAHWND>(owner);
        RETURN_IF_FAILED(window_->put_Owner(o));
        RETURN_IF_FAILED(window_->put_WindowStyle(0));
        return window_->put_Owner(o);
    }
    HRESULT SetVideoWindowPosition(long left, long top, long width, long height) override {
        return window_ ? window_->SetWindowPosition(left, top, width, height) : E_POINTER;
    }
    void ReleasePlayback() override {
        control_.reset();
        audio_.reset();
        video_.reset();
        position_.reset();
    }
    void ReleaseVideoWindow() override {
        if (!window_) return;
        // A video window left visible and owned would stay on its panel after the graph.
        window_->put_Visible(0);  // OAFALSE
        window_->put_Owner(0);
        window_.reset();
    }
    bool HasControl() const override { return static_cast<bool>(control_); }
    bool HasVideoWindow() const override { return static_cast<bool>(window_); }

private:
    com_ptr<IMediaControl> control_;
    com_ptr<IBasicAudio> audio_;
    com_ptr<IBasicVideo> video_;
    com_ptr<IMediaPosition> position_;
    com_ptr<IVideoWindow> window_;
};

}  // namespace

MediaGraphFactory DirectShowGraphFactory() {
    return [](bool withVideo, bool withWindow) -> std::unique_ptr<MediaGraph> {
        auto g = std::make_unique<DirectShowGraph>();
        if (!g->Create(withVideo, withWindow)) return nullptr;
        return g;
    };
}

}  // namespace salva

// A graph of the test's own: it plays nothing, reports what the test sets and writes down
// every call, also after the player has let it go.
#pragma once
#include "windows/MediaGraph.h"
#include <memory>
#include <string>
#include <vector>

namespace mediatest {

struct FakeGraphState {
    // What the next graph reports.
    HRESULT renderResult = S_OK;
    double duration = 100.4;
    long width = 352, height = 288;
    double position = 0;
    bool failCreate = false;
    // What the graphs were asked, in order: "new(video,window)", "render path", "run", "pause",
    // "stop", "seek 12", "attach", "place l,t,w,h", "release playback", "hide window".
    std::vector<std::string> calls;
    int live = 0;  // graphs not yet destroyed

    std::string Joined() const {
        std::string s;
        for (const auto& c : calls) s += c + "|";
        return s;
    }
};

class FakeMediaGraph : public salva::MediaGraph {
public:
    FakeMediaGraph(std::shared_ptr<FakeGraphState> s, bool window) : s_(std::move(s)), window_(window) { ++s_->live; }
    ~FakeMediaGraph() override { --s_->live; }
    HRESULT RenderFile(const std::wstring& path) override {
        s_->calls.push_back("render " + std::string(path.begin(), path.end()));
        return s_->renderResult;
    }
    HRESULT Run() override { return Log("run"); }
    HRESULT Pause() override { return Log("pause"); }
    HRESULT Stop() override { return Log("stop"); }
    HRESULT GetDuration(double& d) override {
        d = s_->duration;
        return control_ ? S_OK : E_POINTER;
    }
    HRESULT GetCurrentPosition(double& p) override {
        p = s_->position;
        return control_ ? S_OK : E_POINTER;
    }
    HRESULT PutCurrentPosition(double p) override {
        s_->calls.push_back("seek " + std::to_string(static_cast<int>(p)));
        s_->position = p;
        return S_OK;
    }
    HRESULT GetSourceSize(long& w, long& h) override {
        w = s_->width;
        h = s_->height;
        return control_ ? S_OK : E_POINTER;
    }
    HRESULT AttachVideoWindow(HWND owner) override {
        owner_ = owner;
        return Log("attach");
    }
    HRESULT SetVideoWindowPosition(long l, long t, long w, long h) override {
        s_->calls.push_back("place " + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(w) + "," +
                            std::to_string(h));
        return S_OK;
    }
    void ReleasePlayback() override {
        if (control_) s_->calls.push_back("release playback");
        control_ = false;
    }
    void ReleaseVideoWindow() override {
        if (window_) s_->calls.push_back("hide window");
        window_ = false;
    }
    bool HasControl() const override { return control_; }
    bool HasVideoWindow() const override { return window_; }

private:
    HRESULT Log(const char* what) {
        s_->calls.push_back(what);
        return S_OK;
    }
    std::shared_ptr<FakeGraphState> s_;
    bool control_ = true;
    bool window_;
    HWND owner_ = nullptr;
};

inline salva::MediaGraphFactory FakeFactory(std::shared_ptr<FakeGraphState> s) {
    return [s](bool video, bool window) -> std::unique_ptr<salva::MediaGraph> {
        s->calls.push_back(std::string("new(") + (video ? "video" : "") + "," + (window ? "window" : "") + ")");
        if (s->failCreate) return nullptr;
        return std::make_unique<FakeMediaGraph>(s, window);
    };
}

}  // namespace mediatest

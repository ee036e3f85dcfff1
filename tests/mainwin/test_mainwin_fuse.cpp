// A rescue of the damaged disc through the real main window and the registered libraries, in
// two runs: the first skips an unreadable stretch and is cancelled keeping its target, the
// second continues from the resume record. tests/fuse/run-fuse-test.sh mounts the disc; its
// bytes hold no 0, so the 0 bytes of the target are exactly the bytes never copied.
#include "MainWinTest.h"
#include "copier/SkipMapFile.h"
#include "copier/SkipTally.h"
#include <algorithm>
#include <commctrl.h>
#include <cstdlib>

using namespace mainwintest;
using namespace testsupport;
using salva::FrmCopy;

namespace {

class MainWindowRescue : public RegisteredWindowTest {
protected:
    void SetUp() override {
        source_ = EnvText("SALVA_FUSE_SOURCE");
        if (source_.empty()) {
            const char* why = std::getenv("SALVA_FUSE_SKIP");
            GTEST_SKIP() << (why ? why : "run by tests/fuse/run-fuse-test.sh, which mounts the damaged file system");
        }
        CreateWindowWithLibraries();
        if (!f_) return;
        target_ = h_->dir / L"rescued.dat";
        f_->AddFileListItem(source_);
        f_->SetFileListText(source_);
        ::SetWindowTextW(f_->Control(FrmCopy::IDC_txtFileCopy), target_.c_str());
        // The smallest skip: eight reads of the start read size.
        HWND skip = f_->Control(FrmCopy::IDC_sldSkipBlocks);
        ::SendMessageW(skip, TBM_SETPOS, TRUE, 1);
        ::SendMessageW(f_->Control(FrmCopy::IDC_Picture2), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                       reinterpret_cast<LPARAM>(skip));
    }
    void Click(int id) const { ::SendMessageW(f_->Control(id), BM_CLICK, 0, 0); }
    void PostClick(int id) const { ::PostMessageW(f_->Control(id), BM_CLICK, 0, 0); }
    // Answers the box titled `caption` that says `part` with No, then posts a click on `then`
    // (0: none): the click waits behind the box and reaches the copy loop after its next block.
    Watcher NoThen(const wchar_t* caption, const std::wstring& part, int then = 0, int timeoutMs = 10000) const {
        HWND button = then ? f_->Control(then) : nullptr;
        return Watcher([caption, part, timeoutMs] { return WaitForBoxSaying(caption, part, timeoutMs); },
                       [button](HWND box) {
                           ::PostMessageW(box, WM_COMMAND, IDNO, 0);
                           if (button) ::PostMessageW(button, BM_CLICK, 0, 0);
                       });
    }

    // The first run: one block at a time (Pause behind every Start and Continue, the append
    // question answered No) until the copy has jumped over an unreadable spot, then Cancel,
    // keeping the target with its record.
    void SkipThenCancel() {
        PostClick(FrmCopy::IDC_cmdPauseCopy);
        Click(FrmCopy::IDC_cmdStartCopy);
        for (int i = 0; i < 40 && h_->log.CurrentLog().find(L"文件跳过：") == std::wstring::npos; ++i) {
            ASSERT_TRUE(f_->Engine().State().Paused) << "the copy did not pause, block " << i;
            Watcher append = NoThen(L"提醒！", L"以追加方式继续复制", FrmCopy::IDC_cmdPauseCopy);
            Click(FrmCopy::IDC_cmdPauseCopy);
            append.Join();
            ASSERT_TRUE(append.found()) << "no append question";
        }
        ASSERT_NE(std::wstring::npos, h_->log.CurrentLog().find(L"文件跳过：")) << "no skip in the first run";
        Watcher keep = NoThen(L"提醒！", L"是否删除");
        Watcher append = NoThen(L"提醒！", L"以追加方式继续复制", FrmCopy::IDC_cmdCancelCopy);
        Click(FrmCopy::IDC_cmdPauseCopy);
        append.Join();
        keep.Join();
        ASSERT_TRUE(keep.found()) << "no keep-or-delete question after Cancel";
        ASSERT_GT(FileLength(salva::SkipMapPath(target_)), 0) << "no skip map beside the kept target";
    }

    size_t SkipLines() const {
        const std::wstring log = h_->log.CurrentLog();
        size_t n = 0;
        for (size_t at = log.find(L"文件跳过："); at != std::wstring::npos; at = log.find(L"文件跳过：", at + 1)) ++n;
        return n;
    }

    std::wstring source_, target_;
};

}  // namespace

TEST_F(MainWindowRescue, ContinuedCopyReportsTheStretchesTheCancelledRunSkipped) {
    SkipThenCancel();
    const std::wstring report = StartAndContinueToTheReport();
    const auto copied = ReadBytes(target_);
    ASSERT_EQ(static_cast<size_t>(FileLength(source_)), copied.size());
    const int64_t zeros = std::count(copied.begin(), copied.end(), uint8_t{0});
    EXPECT_NE(std::wstring::npos, report.find(salva::SkippedText(static_cast<int64_t>(SkipLines()), zeros)))
        << Narrow(report);
    EXPECT_EQ(-1, FileLength(salva::SkipMapPath(target_))) << "the finished copy keeps its map";
}

TEST_F(MainWindowRescue, ContinuedCopyWithoutItsMapSaysEarlierSkipsAreNotKnown) {
    SkipThenCancel();
    salva::Win32CopyEnvironment env;
    salva::RemoveSkipMap(target_, env);
    const std::wstring report = StartAndContinueToTheReport();
    EXPECT_NE(std::wstring::npos, report.find(salva::kEarlierSkipsUnknownText)) << Narrow(report);
}

// The CD tray doors: MCI command strings recorded through the sender, the popup menu of the
// CD drives read back and chosen from, the not-ready report, and the real MCI call.
#include "TestSupport.h"
#include "services/CDRomDriveControl.h"
#include <mmsystem.h>
#include <atomic>

using namespace testsupport;

namespace {

struct Sent {
    std::wstring command;
    bool withAnswer;
    UINT answerChars;
};

struct Recorder {
    std::vector<Sent> sent;
    CDRomDriveControl::MciSender Sender() {
        return [this](const std::wstring& command, wchar_t* ret, UINT chars) -> DWORD {
            sent.push_back({command, ret != nullptr, chars});
            return MCIERR_INVALID_DEVICE_NAME;  // as without a CD drive
        };
    }
    std::vector<std::wstring> Commands() const {
        std::vector<std::wstring> c;
        for (const auto& s : sent) c.push_back(s.command);
        return c;
    }
};

std::string Join(const std::vector<std::wstring>& v) {
    std::string s;
    for (const auto& x : v) s += "[" + Narrow(x) + "] ";
    return s;
}

std::wstring MenuText(HMENU menu, UINT pos) {
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, pos, text, 128, MF_BYPOSITION);
    return text;
}

CDRomDriveControl::DriveLister Drives(std::vector<std::wstring> roots) {
    return [roots] { return roots; };
}

}  // namespace

TEST(CDDoors, CommandStringsOfTheDoors) {
    Recorder r;
    CDRomDriveControl cd(r.Sender(), Drives({}));
    cd.OpenSpecialCDDoor(L"D");
    cd.CloseSpecialCDDoor(L"E");
    cd.OpenFirstCDdoor();
    cd.CloseFirstCDdoor();
    const std::vector<std::wstring> expected = {
        L"Open D: Alias DriveD Type CDAudio", L"Set DriveD Door Open",
        L"Open E: Alias DriveE Type CDAudio", L"Set DriveE Door Closed",
        L"set CDAudio door open",             L"set CDAudio door closed"};
    EXPECT_EQ(expected, r.Commands()) << Join(r.Commands());
    ASSERT_EQ(6u, r.sent.size());
    EXPECT_FALSE(r.sent[0].withAnswer) << "the open command asks no answer";
    EXPECT_TRUE(r.sent[1].withAnswer);
    EXPECT_EQ(127u, r.sent[1].answerChars);
    EXPECT_EQ(127u, r.sent[4].answerChars);
}

TEST(CDDoors, OpeningTheSameTrayTwiceSendsBothTimes) {
    Recorder r;
    CDRomDriveControl cd(r.Sender(), Drives({}));
    cd.OpenSpecialCDDoor(L"D");
    cd.OpenSpecialCDDoor(L"D");
    EXPECT_EQ(4u, r.sent.size()) << Join(r.Commands());
    EXPECT_EQ(L"Set DriveD Door Open", r.sent.back().command);
}

TEST(CDDriveMenu, ItemsOfTwoDrivesAndTheirChoices) {
    Recorder r;
    CDRomDriveControl cd(r.Sender(), Drives({L"d:\\", L"E:\\"}));
    salva::unique_hmenu menu = cd.BuildPopupCDDriveMenu();
    ASSERT_TRUE(menu);
    ASSERT_EQ(5, ::GetMenuItemCount(menu.get()));
    EXPECT_EQ(1000u, ::GetMenuItemID(menu.get(), 0));
    EXPECT_EQ(L"弹出[&E] 所有CD-ROM", MenuText(menu.get(), 0));
    EXPECT_EQ(1100u, ::GetMenuItemID(menu.get(), 1));
    EXPECT_EQ(L"关闭[&C] 所有CD-ROM", MenuText(menu.get(), 1));
    EXPECT_TRUE(::GetMenuState(menu.get(), 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(L"弹出    CD-ROM", MenuText(menu.get(), 3));
    EXPECT_EQ(L"关闭    CD-ROM", MenuText(menu.get(), 4));
    HMENU open = ::GetSubMenu(menu.get(), 3), close = ::GetSubMenu(menu.get(), 4);
    ASSERT_TRUE(open && close);
    ASSERT_EQ(2, ::GetMenuItemCount(open));
    ASSERT_EQ(2, ::GetMenuItemCount(close));
    EXPECT_EQ(L"D:", MenuText(open, 0));
    EXPECT_EQ(L"E:", MenuText(open, 1));
    EXPECT_EQ(1200u, ::GetMenuItemID(open, 0));
    EXPECT_EQ(1201u, ::GetMenuItemID(open, 1));
    EXPECT_EQ(1300u, ::GetMenuItemID(close, 0));
    EXPECT_EQ(1301u, ::GetMenuItemID(close, 1));

    cd.ActOnMenuChoice(1301);
    EXPECT_EQ((std::vector<std::wstring>{L"Open E: Alias DriveE Type CDAudio", L"Set DriveE Door Closed"}),
              r.Commands())
        << Join(r.Commands());
    r.sent.clear();
    cd.ActOnMenuChoice(1000);
    EXPECT_EQ((std::vector<std::wstring>{L"Open D: Alias DriveD Type CDAudio", L"Set DriveD Door Open",
                                         L"Open E: Alias DriveE Type CDAudio", L"Set DriveE Door Open"}),
              r.Commands())
        << Join(r.Commands());
    r.sent.clear();
    cd.ActOnMenuChoice(1100);
    EXPECT_EQ(4u, r.sent.size()) << Join(r.Commands());
    EXPECT_EQ(L"Set DriveE Door Closed", r.sent.back().command);
    r.sent.clear();
    for (UINT id : {0u, 999u, 1202u, 1230u, 1302u, 1331u, 5000u}) cd.ActOnMenuChoice(id);
    EXPECT_TRUE(r.sent.empty()) << Join(r.Commands());
}

TEST(CDDriveMenu, WithoutCDDrivesOnlyTheTwoAllItems) {
    Recorder r;
    CDRomDriveControl cd(r.Sender(), Drives({}));
    salva::unique_hmenu menu = cd.BuildPopupCDDriveMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(3, ::GetMenuItemCount(menu.get()));
    cd.ActOnMenuChoice(1000);
    cd.ActOnMenuChoice(1100);
    EXPECT_TRUE(r.sent.empty()) << Join(r.Commands());
    EXPECT_EQ(L"", cd.GetCDRomListStr());
    EXPECT_EQ(L"你可能没有安装光盘驱动器，或者驱动程序不正常。", cd.GetCDRomInforStr());
}

TEST(CDDriveMenu, ManyDrivesAreCappedAtThirtyOnePerSubmenu) {
    Recorder r;
    std::vector<std::wstring> roots(40, L"F:\\");
    CDRomDriveControl cd(r.Sender(), Drives(roots));
    salva::unique_hmenu menu = cd.BuildPopupCDDriveMenu();
    EXPECT_EQ(31, ::GetMenuItemCount(::GetSubMenu(menu.get(), 3)));
    EXPECT_EQ(1230u, ::GetMenuItemID(::GetSubMenu(menu.get(), 3), 30));
}

TEST(CDDriveMenu, ShownAtTheCursorAndAnsweredByKeys) {
    Recorder r;
    CDRomDriveControl cd(r.Sender(), Drives({L"D:\\"}));
    salva::unique_hwnd owner(::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                               nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner);
    ::SetForegroundWindow(owner.get());
    // Down twice selects the second item (close all), Enter chooses it.
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        ::PostMessageW(owner.get(), WM_KEYDOWN, key, 1);
        ::PostMessageW(owner.get(), WM_KEYUP, key, 0xC0000001);
    }
    std::atomic<bool> done{false};
    HWND ownerWindow = owner.get();
    std::thread guard([&] {
        testsupport::WaitUntil("the eject call to return", 5000, [&] { return done.load(); }, 50);
        if (!done) ::PostMessageW(ownerWindow, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    cd.CreatePopupCDDriveMenu(owner.get());
    done = true;
    guard.join();
    EXPECT_EQ((std::vector<std::wstring>{L"Open D: Alias DriveD Type CDAudio", L"Set DriveD Door Closed"}),
              r.Commands())
        << Join(r.Commands());
}

TEST(CDRomReport, NotReadyTexts) {
    using C = CDRomDriveControl;
    EXPECT_EQ(L"你可能没有安装光盘驱动器，或者驱动程序不正常。", C::NotReadyText({}, {}));
    EXPECT_EQ(L"", C::NotReadyText({L"D:\\"}, {}));
    EXPECT_EQ(L"光盘驱动器D:\\还没有准备好\r\n", C::NotReadyText({L"D:\\"}, {L"d:\\"}));
    EXPECT_EQ(L"光盘驱动器D:\\还没有准备好\r\n", C::NotReadyText({L"D:\\", L"E:\\"}, {L"D:\\"}));
    EXPECT_EQ(L"光盘驱动器D:\\E:\\还没有准备好\r\n", C::NotReadyText({L"D:\\", L"E:\\"}, {L"D:\\", L"E:\\"}));
}

TEST(CDRomReport, ReadinessFromARealListing) {
    TempDir dir;
    TempDir empty;
    ASSERT_TRUE(WriteBytes(dir / L"a.dat", {1, 2, 3}));
    // A root that lists, an empty one, and one that does not exist.
    CDRomDriveControl cd(Recorder().Sender(), Drives({dir.path() + L"\\", empty.path() + L"\\", L"Q:\\"}));
    EXPECT_TRUE(CDRomDriveControl::DriveReady(dir.path() + L"\\"));
    EXPECT_TRUE(CDRomDriveControl::DriveReady(empty.path() + L"\\"));
    EXPECT_FALSE(CDRomDriveControl::DriveReady(L"Q:\\"));
    EXPECT_EQ(L"光盘驱动器Q:\\还没有准备好\r\n", cd.GetCDRomInforStr()) << Narrow(cd.GetCDRomInforStr());
}

TEST(CDRomReport, RealMciCallFailsHereAndNothingBreaks) {
    wchar_t answer[128] = {};
    const MCIERROR rc = ::mciSendStringW(L"Open Q: Alias DriveQ Type CDAudio", answer, 127, nullptr);
    if (rc == 0) {
        ::mciSendStringW(L"Close DriveQ", nullptr, 0, nullptr);
        GTEST_SKIP() << "this machine has a CD audio device";
    }
    EXPECT_NE(0u, rc);
    CDRomDriveControl cd;  // the real sender and drive list
    cd.OpenSpecialCDDoor(L"Q");
    cd.CloseSpecialCDDoor(L"Q");
    cd.OpenFirstCDdoor();
    cd.CloseFirstCDdoor();
    cd.ActOnMenuChoice(1000);
    // The report still answers for this machine's own drives.
    const auto drives = CDRomDriveControl::SystemCDDrives();
    if (drives.empty()) {
        EXPECT_EQ(L"你可能没有安装光盘驱动器，或者驱动程序不正常。", cd.GetCDRomInforStr());
        EXPECT_EQ(L"", cd.GetCDRomListStr());
    } else {
        EXPECT_FALSE(cd.GetCDRomListStr().empty());
    }
}

// Run by cd_drives.sh in a Wine prefix of its own, with SALVA_CD_DRIVES holding the CD roots it
// mapped ("none" for none) and SALVA_CD_NOT_READY those among them that cannot be listed.
std::wstring Env(const wchar_t* name) {
    wchar_t value[64] = {};
    return ::GetEnvironmentVariableW(name, value, 64) ? value : L"";
}

TEST(CDRomMapped, DescriptionOfTheMappedDrives) {
    std::wstring expected = Env(L"SALVA_CD_DRIVES");
    if (expected.empty()) GTEST_SKIP() << "runs from cd_drives.sh, which maps the drives";
    if (expected == L"none") expected.clear();
    const std::wstring notReady = Env(L"SALVA_CD_NOT_READY");
    CDRomDriveControl cd;
    EXPECT_EQ(expected, cd.GetCDRomListStr()) << Narrow(cd.GetCDRomListStr());
    const std::wstring info = cd.GetCDRomInforStr();
    if (expected.empty()) {
        EXPECT_EQ(L"你可能没有安装光盘驱动器，或者驱动程序不正常。", info) << Narrow(info);
    } else if (notReady.empty()) {
        EXPECT_EQ(L"", info) << Narrow(info);
    } else {
        EXPECT_EQ(L"光盘驱动器" + notReady + L"还没有准备好\r\n", info) << Narrow(info);
    }
    salva::unique_hmenu menu = cd.BuildPopupCDDriveMenu();
    const size_t drives = expected.size() / 3;
    ASSERT_EQ(drives ? 5 : 3, ::GetMenuItemCount(menu.get()));
    for (size_t i = 0; i < drives; ++i) {
        EXPECT_EQ(expected.substr(3 * i, 2), MenuText(::GetSubMenu(menu.get(), 3), static_cast<UINT>(i)));
        EXPECT_EQ(expected.substr(3 * i, 2), MenuText(::GetSubMenu(menu.get(), 4), static_cast<UINT>(i)));
    }
    // The real MCI commands for every mapped drive fail without hardware and change nothing.
    cd.ActOnMenuChoice(CDRomDriveControl::IdOpenAll);
    cd.ActOnMenuChoice(CDRomDriveControl::IdCloseFirstDrive);
    EXPECT_EQ(expected, cd.GetCDRomListStr());
}

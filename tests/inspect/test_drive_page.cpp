// The drive page on drive letters mapped in the test's own prefix: a folder as a fixed disk
// with a label, and a CD drive without a disc, whose space cannot be asked.
#include "PropertyTest.h"
#include "../services/WineHost.h"
#include "inspect/DiskSpacePie.h"
#include "inspect/FilePropertyText.h"
#include "services/FileSystem.h"
#include <cstdio>

using namespace proptest;
using testsupport::Narrow;
using testsupport::TempDir;
using wine_host::MappedDrive;
namespace pie = salva::disk_space_pie;

namespace {

#define REQUIRE_DRIVE(drive) \
    if (!(drive).ok()) GTEST_SKIP() << "Wine's mount manager did not map " << Narrow((drive).root())

std::string Mount(const TempDir& dir, const wchar_t* name) {
    const std::wstring folder = dir / name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return wine_host::UnixPath(folder);
}

// The label as the system reports it after the drive is defined again (Wine's mount manager
// reads a drive's label only then).
std::wstring LabelOf(MappedDrive& drive) {
    if (!drive.Remount()) return L"<remount failed>";
    wchar_t label[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationW(drive.root().c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
        return L"<no volume information>";
    return label;
}

void TypeKeys(HWND box, const std::wstring& keys) {
    for (wchar_t c : keys) ::SendMessageW(box, WM_CHAR, c, 1);
    Pump();
}

std::string Hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
    return text;
}

// A pixel of the drive page as the screen shows it.
COLORREF PagePixel(Window& w, int x, int y) {
    HWND page = w.Control(Window::IDC_PIC_DRIVEPROP);
    ::RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    auto dc = salva::unique_window_dc::client(page);
    return ::GetPixel(dc.get(), x, y);
}

TEST(DrivePage, FixedDiskFactsLabelAndPie) {
    TempDir dir;
    MappedDrive drive(wine_host::FreeDriveLetter(L'K'), DRIVE_FIXED, Mount(dir, L"disk"));
    REQUIRE_DRIVE(drive);
    ASSERT_TRUE(salva::FileSystem().SetDiskVolumeLabel(drive.root(), L"OLDLABEL"));
    ASSERT_EQ(LabelOf(drive), L"OLDLABEL");
    const std::wstring root = drive.root();
    const std::wstring lower(1, static_cast<wchar_t>(root[0] | 0x20));
    const std::wstring file = lower + L":\\movie.dat";
    ASSERT_TRUE(MakeFile(file, 2048));

    Window w;
    ASSERT_TRUE(w.GetInfor(file));
    EXPECT_EQ(w.CurrentDriveRoot(), lower + L":\\") << "the root keeps the letter's case";
    EXPECT_EQ(Text(w, Window::IDC_TXTVOLUMENAME), L"OLDLABEL");
    EXPECT_EQ(Text(w, Window::IDC_LBLDISKTYPE), L"本地磁盘");
    EXPECT_FALSE(Text(w, Window::IDC_LBLFILESYSTEM).empty());
    EXPECT_EQ(TabCaption(w, 2), L"本地磁盘(" + root.substr(0, 2) + L")属性") << Narrow(TabCaption(w, 2));

    ULARGE_INTEGER toCaller{}, total{}, totalFree{};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(root.c_str(), &toCaller, &total, &totalFree));
    const double totalBytes = static_cast<double>(total.QuadPart);
    EXPECT_EQ(Text(w, Window::IDC_LBLTOTALSPACE), salva::file_property::ByteCountText(totalBytes));
    EXPECT_EQ(Text(w, Window::IDC_LBLTOTALSPACEA), salva::file_property::ScaledSizeText(totalBytes));
    const std::wstring line = Text(w, Window::IDC_LBLDRIVENAME);
    EXPECT_EQ(line.rfind(L"Drive:" + root.substr(0, 1) + L"  SN:", 0), 0u) << Narrow(line);
    EXPECT_NE(line.find(L"p(A/T):"), std::wstring::npos) << Narrow(line);
    EXPECT_EQ(line.find(salva::file_property::kInvalidValue), std::wstring::npos) << Narrow(line);

    // The pie on screen: which parts are blue follows the drive's own share of used space.
    ::ShowWindow(w.Window(), SW_SHOWNA);
    ClickTab(w, 2);
    ASSERT_TRUE(Shown(w.Control(Window::IDC_PIC_DRIVEPROP)));
    const double used = static_cast<double>(total.QuadPart - totalFree.QuadPart);
    const double r = used / totalBytes;
    // 12 o'clock on the face is used from a quarter up; 6 o'clock on the rim is free up to
    // three quarters.
    if (std::abs(r - 0.25) > 0.02) {
        EXPECT_EQ(Hex(PagePixel(w, 163, 192)), Hex(r > 0.25 ? pie::kUsed : pie::kFree)) << "used share " << r;
    }
    if (std::abs(r - 0.75) > 0.02) {
        EXPECT_EQ(Hex(PagePixel(w, 163, 231)), Hex(r <= 0.75 ? pie::kFreeRim : pie::kUsedRim)) << "used share " << r;
    }
    EXPECT_EQ(Hex(PagePixel(w, 163, 236)), Hex(pie::kOutline));

    // Apply after a box change: the label shown, unchanged, is not written over the drive's
    // label of now.
    ASSERT_TRUE(salva::FileSystem().SetDiskVolumeLabel(root, L"NEWLABEL"));
    ClickTab(w, 0);
    Press(w.Control(Window::IDC_CHKREADONLY));
    Press(w.Control(Window::IDC_CMDAPPLY));
    EXPECT_EQ(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(LabelOf(drive), L"NEWLABEL");

    // A label typed into the box is written by Apply.
    w.Unload();
    ASSERT_TRUE(w.GetInfor(file));
    HWND box = w.Control(Window::IDC_TXTVOLUMENAME);
    ::SendMessageW(box, EM_SETSEL, 0, -1);
    TypeKeys(box, L"TYPED");
    EXPECT_EQ(Text(w, Window::IDC_TXTVOLUMENAME), L"TYPED");
    ASSERT_TRUE(Enabled(w, Window::IDC_CMDAPPLY)) << "a key in the label box makes Apply available";
    Press(w.Control(Window::IDC_CMDAPPLY));
    EXPECT_EQ(LabelOf(drive), L"TYPED");
    w.Unload();
    Plain(file);
}

TEST(DrivePage, CdDriveWithoutDiscShowsNoFigures) {
    TempDir dir;
    MappedDrive cd(wine_host::FreeDriveLetter(L'R'), DRIVE_CDROM, wine_host::UnixPath(dir / L"no-disc"));
    REQUIRE_DRIVE(cd);
    const std::wstring root = cd.root();
    ASSERT_LT(salva::FileSystem().GetDiskSpaceSize(root, 0), 0) << "the space query fails on an empty CD drive";

    Window w;
    ASSERT_TRUE(w.GetInfor(root + L"AVSEQ01.DAT"));
    EXPECT_EQ(Text(w, Window::IDC_LBLDISKTYPE), L"光盘");
    EXPECT_EQ(TabCaption(w, 2), L"光盘(" + root.substr(0, 2) + L")属性");
    for (int id : {Window::IDC_LBLSPACEUSED, Window::IDC_LBLSPACEUSEDA, Window::IDC_LBLTOTALSPACE,
                   Window::IDC_LBLAVAILABLESPACEA})
        EXPECT_EQ(Text(w, id), salva::file_property::kUnknownValue) << id;
    EXPECT_EQ(Text(w, Window::IDC_LBLDRIVENAME), L"Drive:" + root.substr(0, 1) + L"  SN:  p(A/T):无效  p(U/T):无效")
        << Narrow(Text(w, Window::IDC_LBLDRIVENAME));

    // The label box is locked: typed keys are dropped and Apply stays off.
    HWND box = w.Control(Window::IDC_TXTVOLUMENAME);
    EXPECT_TRUE(::GetWindowLongW(box, GWL_STYLE) & ES_READONLY);
    TypeKeys(box, L"AB");
    EXPECT_EQ(Text(w, Window::IDC_TXTVOLUMENAME), L"");
    EXPECT_FALSE(Enabled(w, Window::IDC_CMDAPPLY));

    // The pie reads as all used rather than dividing by a missing total.
    ::ShowWindow(w.Window(), SW_SHOWNA);
    ClickTab(w, 2);
    EXPECT_EQ(Hex(PagePixel(w, 163, 192)), Hex(pie::kUsed));
    EXPECT_EQ(Hex(PagePixel(w, 163, 216)), Hex(pie::kUsed));
    EXPECT_EQ(Hex(PagePixel(w, 163, 231)), Hex(pie::kUsedRim));
    w.Unload();
}

}  // namespace

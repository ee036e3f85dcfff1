// The file-list information panel of the main window (the module's refresh of it).
#include "services/FileListInfoText.h"
#include "services/FileSystem.h"
#include "services/Holders.h"
#include "services/MainWindow.h"
#include "services/WaitCursor.h"
#include "services/mSubClassOpen_SaveFileBox.h"
#include <ocidl.h>
#include <olectl.h>
#include <vector>

namespace salva::mSubClassOpen_SaveFileBox {

namespace {

// Larger files are not read into memory for a 16 x 16 preview.
constexpr uint64_t kLargestPicture = 32u << 20;

// The picture in a bitmap, icon, cursor, metafile, JPEG or GIF file; null when it cannot be
// read or decoded.
com_ptr<IPicture> LoadPictureFile(const std::wstring& path) {
    com_ptr<IPicture> picture;
    uint64_t length = 0;
    if (!FileLength64(path, length) || length == 0 || length > kLargestPicture) return picture;
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return picture;
    const DWORD size = static_cast<DWORD>(length);
    unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return picture;
    DWORD done = 0;
    if (void* bytes = ::GlobalLock(memory.get())) {
        while (done < size) {
            DWORD got = 0;
            if (!::ReadFile(file.get(), static_cast<char*>(bytes) + done, size - done, &got, nullptr) || got == 0) break;
            done += got;
        }
        ::GlobalUnlock(memory.get());
    }
    if (done != size) return picture;
    com_ptr<IStream> stream;
    // The stream frees the memory when it goes.
    if (FAILED(::CreateStreamOnHGlobal(memory.get(), TRUE, stream.put()))) return picture;
    memory.release();
    if (FAILED(::OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture, picture.put_void())))
        picture.reset();
    return picture;
}

}  // namespace

namespace {

// The current file's pictures, size, type, attributes and times.
void DescribeFile(MainWindow* main, const std::wstring& current) {
    com_ptr<IPicture> picture;
    if (file_list_info::IsPictureFileName(current)) picture = LoadPictureFile(current);
    main->ShowItemPictures(current, picture.get());
    FileSystem fs;
    uint64_t size = 0;
    FileLength64(current, size);
    main->SetFileInfoTexts(
        file_list_info::SizeTypeAttributesText(size, fs.GetFileTypeName(current), fs.GetFileAttributesStr(current)),
        file_list_info::TimesText(fs.GetFileDateTime(current, 1), fs.GetFileDateTime(current, 2)));
}

}  // namespace

void UpdateFileListInfo() {
    MainWindow* main = TheMainWindow();
    if (!main) return;
    const int count = main->FileListCount();
    if (count <= 0) return;
    wait_cursor_scope wait;
    const std::wstring current = main->FileListItem(0);
    main->SetFileListText(current);
    if (CanOpenFile(current)) DescribeFile(main, current);
    // Recomputed whatever became of the first item.
    main->SetFilesInfoText(file_list_info::TotalsText(static_cast<size_t>(count), main->FileListBytes()));
}

void ShowCurrentItemInfo(int position) {
    MainWindow* main = TheMainWindow();
    if (!main) return;
    const int count = main->FileListCount();
    const std::wstring current = main->FileListText();
    if (count <= 0 || !FileSystem().FileExists(current)) return;
    DescribeFile(main, current);
    main->SetFilesInfoText(file_list_info::TotalsText(static_cast<size_t>(position), static_cast<size_t>(count),
                                                      main->FileListBytes()));
}

}  // namespace salva::mSubClassOpen_SaveFileBox

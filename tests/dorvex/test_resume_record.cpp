// The resume record on real files: layout, placement, reading back, odd files.
#include "TestSupport.h"
#include "dorvex/PDVTrailer.h"
#include "dorvex/PDVfileformat.h"

using namespace testsupport;

namespace {

dorvex::PDVTrailer Sample() {
    dorvex::PDVTrailer t;
    t.lFileLength = 100;
    t.lHaveCopied = 84;
    t.iConsumeTime = 321;
    t.iTotalTime = 12;
    t.iCopySpeed = 4096;
    return t;
}

// Calls through the object's slots, as the program does.
struct Record {
    salva::com_ptr<_PDVfileformat> obj;
    Record() { dorvex::PDVfileformat::Create<dorvex::PDVfileformat>(__uuidof(_PDVfileformat), obj.put_void()); }
    long Read(const std::wstring& path) {
        salva::unique_bstr b(::SysAllocString(path.c_str()));
        long found = -5;
        EXPECT_EQ(S_OK, obj->ReadPDVFile(b.get(), &found));
        return found;
    }
    void Write(const std::wstring& path) {
        salva::unique_bstr b(::SysAllocString(path.c_str()));
        salva::unique_variant v;
        V_VT(&v) = VT_I4;
        EXPECT_EQ(S_OK, obj->WritePDVFile(b.get(), &v));
        EXPECT_EQ(VT_EMPTY, V_VT(&v));
    }
};

}  // namespace

TEST(TrailerCodec, LaysOutSeventeenLittleEndianBytes) {
    const auto b = dorvex::EncodeTrailer(Sample());
    const uint8_t expected[17] = {'P', 'D', 'V', 100, 0, 0, 0, 84, 0, 0, 0, 0x41, 0x01, 12, 0, 0x00, 0x10};
    for (int i = 0; i < 17; ++i) EXPECT_EQ(expected[i], b[i]) << "byte " << i;
}

TEST(TrailerCodec, NegativeValuesAreTwosComplement) {
    dorvex::PDVTrailer t;
    t.iTotalTime = -1;
    t.lHaveCopied = -2;
    const auto b = dorvex::EncodeTrailer(t);
    EXPECT_EQ(0xFF, b[13]);
    EXPECT_EQ(0xFF, b[14]);
    dorvex::PDVTrailer back;
    ASSERT_TRUE(dorvex::DecodeTrailer(b.data(), b.size(), back));
    EXPECT_EQ(-1, back.iTotalTime);
    EXPECT_EQ(-2, back.lHaveCopied);
}

TEST(ResumeRecord, WriteOnHundredByteFileAndReadBack) {
    TempDir dir;
    const std::wstring path = dir / L"target.dat";
    const auto original = Pattern(100);
    ASSERT_TRUE(WriteBytes(path, original));

    Record writer;
    writer.obj->put_FileLength(100);
    writer.obj->put_HaveCopied(84);
    writer.obj->put_ConsumeTime(321);
    writer.obj->put_TotalTime(-1);
    writer.obj->put_CopySpeed(4096);
    writer.Write(path);

    const auto bytes = ReadBytes(path);
    ASSERT_EQ(116u, bytes.size());
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + 99, bytes.begin()));
    EXPECT_EQ('P', bytes[99]);
    EXPECT_EQ('D', bytes[100]);
    EXPECT_EQ('V', bytes[101]);

    Record reader;
    EXPECT_EQ(1, reader.Read(path));
    long l = 0;
    short s = 0;
    reader.obj->get_FileLength(&l);
    EXPECT_EQ(84, l) << "FileLength reads 16 less than written";
    reader.obj->get_HaveCopied(&l);
    EXPECT_EQ(84, l);
    reader.obj->get_ConsumeTime(&s);
    EXPECT_EQ(321, s);
    reader.obj->get_TotalTime(&s);
    EXPECT_EQ(-1, s);
    reader.obj->get_CopySpeed(&s);
    EXPECT_EQ(4096, s);
}

TEST(ResumeRecord, SeventeenByteFileStartingWithMarkerIsARecord) {
    TempDir dir;
    const std::wstring path = dir / L"r.bin";
    std::vector<uint8_t> b = {'P', 'D', 'V', 0x10, 0, 0, 0, 7, 0, 0, 0, 1, 0, 2, 0, 3, 0};
    ASSERT_TRUE(WriteBytes(path, b));
    Record r;
    ASSERT_EQ(1, r.Read(path));
    long l = 0;
    r.obj->get_FileLength(&l);
    EXPECT_EQ(0, l);
    r.obj->get_HaveCopied(&l);
    EXPECT_EQ(7, l);
    short s = 0;
    r.obj->get_CopySpeed(&s);
    EXPECT_EQ(3, s);
}

TEST(ResumeRecord, ShortFilesLowerCaseMarkerAndMissingFilesAreNoRecord) {
    TempDir dir;
    Record r;
    r.obj->put_HaveCopied(55);
    for (size_t n = 0; n <= 16; ++n) {
        const std::wstring path = dir / (L"short" + std::to_wstring(n));
        std::vector<uint8_t> b(n, 'P');
        if (n >= 3) b[0] = 'P', b[1] = 'D', b[2] = 'V';
        ASSERT_TRUE(WriteBytes(path, b));
        EXPECT_EQ(0, r.Read(path)) << n << " bytes";
    }
    const std::wstring lower = dir / L"lower";
    std::vector<uint8_t> b(40, 0);
    b[23] = 'p', b[24] = 'd', b[25] = 'v';
    ASSERT_TRUE(WriteBytes(lower, b));
    EXPECT_EQ(0, r.Read(lower));

    const std::wstring missing = dir / L"missing.dat";
    EXPECT_EQ(0, r.Read(missing));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(missing.c_str())) << "reading created the file";
    long l = 0;
    r.obj->get_HaveCopied(&l);
    EXPECT_EQ(55, l) << "fields stay as they were when no record is found";
}

TEST(ResumeRecord, WritingTwiceKeepsOnlyTheSecondVisible) {
    TempDir dir;
    const std::wstring path = dir / L"t";
    ASSERT_TRUE(WriteBytes(path, Pattern(50)));
    Record r;
    r.obj->put_CopySpeed(0x1234);
    r.obj->put_HaveCopied(1);
    r.Write(path);
    r.obj->put_HaveCopied(2);
    r.Write(path);
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(82u, bytes.size());
    EXPECT_EQ('P', bytes[65]) << "the first record's last byte is overwritten by the second marker";
    Record back;
    ASSERT_EQ(1, back.Read(path));
    long l = 0;
    back.obj->get_HaveCopied(&l);
    EXPECT_EQ(2, l);
}

TEST(ResumeRecord, EmptyOrMissingTargetGetsNothingWritten) {
    TempDir dir;
    const std::wstring empty = dir / L"empty";
    ASSERT_TRUE(WriteBytes(empty, {}));
    Record r;
    r.obj->put_FileLength(10);
    r.Write(empty);
    EXPECT_EQ(0, FileLength(empty));
    const std::wstring missing = dir / L"missing";
    r.Write(missing);
    EXPECT_EQ(-1, FileLength(missing));
}

TEST(ResumeRecord, FileLengthOverflowIsReported) {
    Record r;
    r.obj->put_FileLength(INT32_MIN + 15);
    long l = 77;
    EXPECT_EQ(DISP_E_OVERFLOW, r.obj->get_FileLength(&l));
    EXPECT_EQ(77, l);
    r.obj->put_FileLength(INT32_MIN + 16);
    EXPECT_EQ(S_OK, r.obj->get_FileLength(&l));
    EXPECT_EQ(INT32_MIN, l);
    r.obj->put_FileLength(0);
    r.obj->get_FileLength(&l);
    EXPECT_EQ(-16, l);
}

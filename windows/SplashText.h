// The about box's lines built from plain values: memory, the operating system's family code,
// the system and processor descriptions.
#pragma once
#include <cstdint>
#include <string>

namespace salva::splash_text {

// kind 0: "TotalPhysMem:262,144K(257M)" (the megabytes are always one more than the whole
// megabytes); kind 1: "TotalAvailMem:1,024K"; any other kind "".
std::wstring MemoryLine(int kind, uint64_t totalPhysical, uint64_t availablePhysical);

// Hexadecimal digits (either case) as a number; a character that is no digit counts 0.
uint32_t HexToDec(const std::wstring& text);
// A REG_DWORD as the about box writes it: upper-case hexadecimal without leading zeros.
std::wstring HexText(uint32_t value);

// The family code of a version text taken from the 9x key ("VersionNumber"): a number
// written with two decimals, then its first and last two characters; "510" and "500" give
// "NT", "490", "422" and "410" "9x", "400" "9x/NT"; any other code stays as it is. A version
// from the NT key is always "NT".
std::wstring FamilyCode(const std::wstring& version, bool fromNtKey);

// What the about box shows of the system and of the processor.
struct SystemRecord {
    std::wstring productName, version, buildNumber, servicePack, productId, owner, organisation;
};
struct ProcessorRecord {
    std::wstring name, vendor, identifier, speed;
};
// Product name, version "." build "  " service pack, owner, organisation and product id,
// each line ended by CR LF.
std::wstring SystemLines(const SystemRecord& system);
// Name, vendor "  " speed, identifier, CR LF between the lines.
std::wstring ProcessorLines(const ProcessorRecord& processor);
// "800MHz" from the hexadecimal text of the "~MHz" value; "" when that is empty.
std::wstring SpeedText(const std::wstring& hexMegahertz);

}  // namespace salva::splash_text

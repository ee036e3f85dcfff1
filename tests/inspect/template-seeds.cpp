// Writes the dialog and menu templates of executables, one file each, as the seeds of the
// template fuzz target. Usage: template-seeds <out-dir> <file>...
#include "inspect/ByteSource.h"
#include "inspect/ResourceDirectory.h"

#include <fstream>
#include <iterator>
#include <string>

using namespace salva::readers;

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    int written = 0;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        MemoryByteStore file(bytes);
        const std::string base = std::string(argv[i]).substr(std::string(argv[i]).find_last_of('/') + 1);
        for (const ResourceType& t : ReadResourceDirectory(file).types) {
            if (t.key.named || (t.key.id != 4 && t.key.id != 5)) continue;
            for (const ResourceName& n : t.names)
                for (const ResourceData& d : n.languages) {
                    const std::string name = std::string(argv[1]) + "/" + base + (t.key.id == 4 ? "-menu-" : "-dialog-") +
                                             std::to_string(written++) + ".bin";
                    std::ofstream(name, std::ios::binary)
                        .write(reinterpret_cast<const char*>(bytes.data() + d.offset), d.size);
                }
        }
    }
    return written > 0 ? 0 : 1;
}

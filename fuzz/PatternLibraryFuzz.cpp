// SPDX-License-Identifier: MIT
// A Patterns.rec from outside: counting, reading, looking up and listing it,
// then adding to it, which must keep every record whole.
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "cli/Cli.h"

using namespace cluemill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string folder = fuzz::ScratchFolder().string();
    PatternLibrary library;
    library.File = fuzz::ScratchFolder() / "Patterns.rec";
    fuzz::WriteFile(library.File, bytes);
    library.Count();
    fuzz::Expect(library.PatternCount == RoundedRecordCount(size, kPatternRecordSize),
                 "the count follows the length");
    for (std::int32_t k = 0; k <= library.PatternCount + 1; ++k) {
        const PatternRecord record = library.ReadPatternRecord(k);
        fuzz::Expect(record.PatternCode.size() == 22, "a code has 22 characters");
        fuzz::Expect(FromBytes(ToBytes(record)) == record, "a record survives its bytes");
        const std::int32_t found = library.FindPattern(record.PatternCode);
        fuzz::Expect(found >= 0 && found <= library.PatternCount,
                     "a lookup names a record or none");
        fuzz::Expect(
            k < 1 || k > library.PatternCount || k * kPatternRecordSize > size || found >= k,
            "a whole record is found at its place or later");
    }
    std::istringstream in;
    std::ostringstream out;
    fuzz::Expect(RunCli({"patterns", "--data-dir", folder, "list"}, in, out, out) == 0,
                 "listing a library succeeds");
    RunCli({"patterns", "--data-dir", folder, "show", std::to_string(library.PatternCount)}, in,
           out, out);

    PatternRecord added;
    added.PatternCode = EncodePattern(DecodePattern(bytes));
    const std::int32_t before = library.PatternCount;
    fuzz::Expect(library.AppendPattern(added) == before + 1, "a record is appended and counted");
    fuzz::Expect(library.ReadPatternRecord(before + 1) == added, "the appended record reads back");
    ++added.Minimal[5];
    fuzz::Expect(library.WritePatternRecord(before + 1, added), "a record is rewritten");
    fuzz::Expect(library.ReadPatternRecord(before + 1) == added, "the rewritten record reads back");
    std::error_code error;
    fuzz::Expect(std::filesystem::file_size(library.File, error) ==
                     static_cast<std::uintmax_t>(before + 1) * kPatternRecordSize,
                 "the library ends with a whole record");
    return 0;
}

// Feeds arbitrary bytes to the appender as a team-gear table: it appends exactly one
// record, or cuts an interrupted append's tail back and then appends, or refuses and
// leaves every byte as it was. A dry run before it changes nothing and foresees its result.
#include "core/SaveSweep.h"
#include "tests/fuzz/TableInvariants.h"
#include "tests/support/MemoryFileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kitloom;
    using fuzz::require;
    const std::string before(reinterpret_cast<const char*>(data), size);
    test::MemoryFileSystem fileSystem;
    fileSystem.tree.files["/teamgear.dbf"] = before;
    JerseySpec spec;
    spec.teamNumber = 12;
    spec.jerseyName = {'F', 'U', 'Z', 'Z'};
    spec.year = {'2', '0', '0', '1', '-', '0', '2', '\0'};
    spec.shoe = 7;

    const ResultCode foreseen = SaveSweep(fileSystem, {true, {}}).appendToTable("/teamgear.dbf", spec).result;
    require(fileSystem.tree.files["/teamgear.dbf"] == before);
    const ResultCode result = SaveSweep(fileSystem).appendToTable("/teamgear.dbf", spec).result;
    require(result == foreseen);
    const std::string& after = fileSystem.tree.files["/teamgear.dbf"];
    require((result == ResultCode::Appended) == fuzz::takesAnAppend(before));
    if (result == ResultCode::Appended)
        require(fuzz::isAppendOf(before, after, spec));
    else
        require(after == before);
    return 0;
}

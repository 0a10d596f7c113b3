# Writes the simple case folding table as C++ source: every line of Unicode's CaseFolding.txt whose
# status is C (common) or S (simple), in the file's order, which is by code point. The full (F) and
# Turkic (T) mappings are left out, as Windows leaves them out when it compares names.
# Usage: cmake -DINPUT=CaseFolding.txt -DOUTPUT=case_folding_table.inc -P generate_case_folding.cmake
if(NOT EXISTS "${INPUT}")
    message(FATAL_ERROR "Unicode case folding data not found at \"${INPUT}\". Install Debian's "
        "unicode-data package (scripts/lib/setup.sh does), or point GRIMSWEEP_CASE_FOLDING_FILE at a "
        "copy of CaseFolding.txt.")
endif()

file(STRINGS "${INPUT}" header LIMIT_COUNT 1)
string(REGEX MATCH "CaseFolding-([0-9.]+)\\.txt" _ "${header}")
set(version "${CMAKE_MATCH_1}")
if(version STREQUAL "")
    message(FATAL_ERROR "\"${INPUT}\" does not start with the CaseFolding-<version>.txt header line")
endif()

file(STRINGS "${INPUT}" mappings REGEX "^[0-9A-F]+; [CS]; [0-9A-F]+;")
list(LENGTH mappings count)
if(count LESS 1000)
    message(FATAL_ERROR "\"${INPUT}\" holds only ${count} simple mappings; is it CaseFolding.txt?")
endif()

set(rows "")
foreach(line IN LISTS mappings)
    string(REGEX MATCH "^([0-9A-F]+); [CS]; ([0-9A-F]+);" _ "${line}")
    string(APPEND rows "    {0x${CMAKE_MATCH_1}, 0x${CMAKE_MATCH_2}},\n")
endforeach()

file(WRITE "${OUTPUT}.tmp"
    "// Generated from CaseFolding-${version}.txt by cmake/generate_case_folding.cmake; do not edit.\n"
    "inline constexpr std::string_view kCaseFoldingVersion = \"${version}\";\n"
    "inline constexpr CaseFoldingRow kSimpleCaseFolding[${count}] = {\n"
    "${rows}"
    "};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")

#!/usr/bin/env python3
"""Generates the result-code name and description tables of errors/ from the published codes.

Run by a developer after changing a rule below or a description; the build never runs it and
never needs the published data. Usage:

    tools/gen_error_tables.py [--codes ../shared/error-codes/published-codes.tsv]

Reads the published names and values (value, name, header, revision, note per row) and
errors/data/descriptions.tsv (name, description per row), applies the selection and joining
rules below, checks every count the tables must hold and writes
errors/generated/error_name_table.cpp and errors/generated/error_description_table.cpp.

Selection, in the order applied:

 1. Sources. winerror.h as of its 2007 revision: names that only the current revision has are
    later additions. Every other header as currently published, except the later additions named
    below: the DirectPlay 4 header (dplay.h), the eleven extended-device codes of d3d9.h, and
    comadmin.h, whose enum only repeats winerror.h's COMADMIN_E_ codes in mixed case. Facility
    0x877 comes from the older D3DX error header.
 2. A name defined as another name (note "alias") adds no code: DSERR_INVALIDPARAM is
    E_INVALIDARG and is named so.
 3. Names outside the families the tables cover are left out: WARNING_IPSEC_, every EVENT_ code
    but EVENT_S_NOSUBSCRIBERS, DS_INCOMPLETE, DPNSUCCESS_, and the success codes that
    multimedia headers give to small values (DI_POLLEDDEVICE is 2, DS_OK is 0): plain values
    are Win32 codes only.
 4. Later additions within a family (LATER_ADDITIONS): where a family offers more codes than the
    tables hold, its codes were added in rising order, so it keeps its lowest values and the
    surplus is its highest values.
 5. One condition, one name: where two headers give the same code to the same condition, the
    table names it once (SAME_CONDITION); where one header gives two names to one wrapped Win32
    code (DIERR_NOTFOUND and DIERR_OBJECTNOTFOUND are both ERROR_FILE_NOT_FOUND), they are
    synonyms of the Win32 code, which keeps its own name alone.
 6. Range markers (_FIRST, _LAST, _BASE) name a value only when no code name has it
    (DIERR_DRIVERFIRST, DNS_ERROR_DP_BASE); where only markers share a value, the one that opens
    a range names it. The first five driver-specific DirectInput codes are named by expression:
    DIERR_DRIVERFIRST+1 to DIERR_DRIVERFIRST+5.

Naming:

 - Names that share a value are joined with " & " in HEADER_ORDER.
 - Win32 codes appear twice, plain and as 0x8007xxxx, with one name for both forms: the Win32
   names of the value joined with the names other headers give to its result form
   ("ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED" for 12 and 0x8007000C). Exceptions: plain 0 and 1
   are S_OK and S_FALSE (0x80070001 stays ERROR_INVALID_FUNCTION); a name that winerror.h itself
   gives to a result form (E_ACCESSDENIED for 0x80070005) names that form alone; 200 and 201,
   errors of 16-bit segments, have no result form.
 - The wide table was built from older headers: it lacks the names in WIDE_LACKS, and an entry
   left without a name is left out.

Descriptions: a code is described when a name of its entry has a text in descriptions.tsv, and
the texts of several such names are joined with " & ". A Win32 name's text serves both forms
of the code; any other name's text serves only the value that name is defined at, so plain 12
has no description although its name joins DIERR_NOTACQUIRED. The 18 DirectX file codes that a
D3DX file code of the same suffix replaced (DXFILEERR_BADOBJECT beside D3DXFERR_BADOBJECT) have
no text: each condition is described once, under the D3DX file code.
"""

import argparse
import collections
import csv
import pathlib
import sys

REPO = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_CODES = REPO.parent / "shared" / "error-codes" / "published-codes.tsv"
DESCRIPTIONS = REPO / "errors" / "data" / "descriptions.tsv"
NAME_TABLE = REPO / "errors" / "generated" / "error_name_table.cpp"
DESCRIPTION_TABLE = REPO / "errors" / "generated" / "error_description_table.cpp"

# The revision label of the 2007 winerror.h rows in the published data.
WINERROR_REVISION_MARK = "-2007-"
LATER_HEADERS = {"dplay.h", "comadmin.h"}
D3D9_EXTENDED_DEVICE = {
    "D3DERR_DEVICEREMOVED", "D3DERR_DEVICEHUNG", "D3DERR_UNSUPPORTEDOVERLAY",
    "D3DERR_UNSUPPORTEDOVERLAYFORMAT", "D3DERR_CANNOTPROTECTCONTENT", "D3DERR_UNSUPPORTEDCRYPTO",
    "D3DERR_PRESENT_STATISTICS_DISJOINT", "S_NOT_RESIDENT", "S_RESIDENT_IN_SHARED_MEMORY",
    "S_PRESENT_MODE_CHANGED", "S_PRESENT_OCCLUDED",
}

# (name prefix, facility or None for plain values, number of highest codes left out). Each count
# is the family's surplus over the tables. The Win32 surplus falls at the top of the
# side-by-side assembly range (14029 to 14080); the facility-4 split among DirectShow, media
# streams and management follows from the described codes of those families.
LATER_ADDITIONS = [
    ("ERROR_", None, 52),
    ("VFW_", 0x004, 15),
    ("MS_", 0x004, 2),
    ("WBEM_E_", 0x004, 2),
    ("SEC_E_", 0x009, 12),
    ("SCARD_", 0x010, 1),
    ("SPAPI_E_", 0x00F, 14),
    ("COMADMIN_E_", 0x011, 1),
    ("DMUS_", 0x878, 1),
]

SAME_CONDITION = {
    0x8876017C: "D3DERR_OUTOFVIDEOMEMORY",  # also DDERR_OUTOFVIDEOMEMORY
    0x8876021C: "DDERR_WASSTILLDRAWING",  # also D3DERR_WASSTILLDRAWING
    0x88781161: "DMUS_E_NOT_FOUND",  # also DSERR_OBJECTNOTFOUND
}

EXPRESSION_NAMES = [(0x80040300 + n, f"DIERR_DRIVERFIRST+{n}") for n in range(1, 6)]

HEADER_ORDER = [
    "winerror.h", "ddraw.h", "d3d9.h", "d3dx9.h", "d3dxerr.h", "dxfile.h", "d3dx9xof.h",
    "dsound.h", "dmerror.h", "dinput.h", "dinputd.h", "vfwmsgs.h", "mediaerr.h", "mmstream.h",
    "wbemcli.h", "dplay8.h", "dvoice.h", "expression",
]

WIDE_LACKS = {
    "ERROR_NOT_SAFEBOOT_SERVICE", "DNS_ERROR_FORWARDER_ALREADY_EXISTS",
    "DNS_ERROR_ZONE_REQUIRES_MASTER_IP", "DNS_ERROR_ZONE_IS_SHUTDOWN", "DNS_ERROR_DP_BASE",
    "DNS_ERROR_DP_DOES_NOT_EXIST", "DNS_ERROR_DP_ALREADY_EXISTS", "DNS_ERROR_DP_NOT_ENLISTED",
    "DNS_ERROR_DP_ALREADY_ENLISTED", "WBEM_S_ALREADY_EXISTS", "WBEM_S_RESET_TO_DEFAULT",
}

WIN32_WITHOUT_RESULT_FORM = {200, 201}
PLAIN_SUCCESS_NAMES = {0: "S_OK", 1: "S_FALSE"}

# Entries per family in the narrow name table: (label, test on the value, count).
NAME_FAMILY_COUNTS = [
    ("plain", lambda v: v <= 0xFFFF, 1787),
    ("0x8007xxxx", lambda v: v >> 16 == 0x8007, 1784),
] + [
    (f"facility {f:#x}", (lambda f: lambda v: v > 0xFFFF and v >> 16 != 0x8007
                          and (v >> 16) & 0x1FFF == f)(f), count)
    for f, count in [(0x0, 49), (0x1, 83), (0x2, 44), (0x3, 54), (0x4, 616), (0x8, 13),
                     (0x9, 295), (0xB, 32), (0xF, 66), (0x10, 59), (0x11, 112), (0x15, 112),
                     (0x876, 189), (0x877, 36), (0x878, 136)]
]
NARROW_NAMES, WIDE_NAMES, DESCRIBED_CODES, JOINED_NARROW = 5467, 5449, 656, 39

# Described codes per multimedia family, each code counted under the first described name.
DESCRIPTION_FAMILY_COUNTS = {
    "VFW_": 125, "DMUS_": 120, "DDERR_": 113, "DPNERR_": 65, "D3DXERR_": 45, "DVERR_": 44,
    "DV_": 3, "DIERR_": 22 + 9, "D3DERR_": 21, "D3DOK_": 1, "D3DXFERR_": 18, "DSERR_": 15,
    "DS_": 1, "MS_": 9, "DXFILEERR_": 9,
}


class Name:
    """One published name at one value, with the header it comes from."""

    def __init__(self, name, value, header, note=""):
        self.name, self.value, self.header, self.note = name, value, header, note

    @property
    def is_marker(self):
        return "range-marker" in self.note

    @property
    def is_win32(self):
        return self.header == "winerror.h" and self.value <= 0xFFFF


def facility(value):
    return (value >> 16) & 0x1FFF


def read_published(path):
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    names = []
    for row in rows:
        header, revision = row["header"], row["revision"]
        if header == "winerror.h" and WINERROR_REVISION_MARK not in revision:
            continue
        if header in LATER_HEADERS or row["name"] in D3D9_EXTENDED_DEVICE:
            continue
        if "alias" in row["note"]:
            continue
        names.append(Name(row["name"], int(row["value"], 16), header, row["note"]))
    return names


def in_families(n):
    if n.name.startswith("WARNING_IPSEC_") or n.name.startswith("DPNSUCCESS_"):
        return False
    if n.name.startswith("EVENT_") and n.name != "EVENT_S_NOSUBSCRIBERS":
        return False
    if n.name == "DS_INCOMPLETE":
        return False
    return n.value > 0xFFFF or n.header == "winerror.h"


def drop_later_additions(names):
    dropped = set()
    for prefix, fac, count in LATER_ADDITIONS:
        family = sorted({n.value for n in names if n.name.startswith(prefix)
                         and (n.value <= 0xFFFF if fac is None
                              else n.value > 0xFFFF and facility(n.value) == fac)})
        dropped.update((prefix, v) for v in family[len(family) - count:])
    return [n for n in names
            if not any(n.name.startswith(p) and (p, n.value) in dropped for p, _, _ in
                       LATER_ADDITIONS)]


def one_name_per_condition(names):
    kept = []
    per_header = collections.Counter((n.header, n.value) for n in names)
    for n in names:
        if n.value in SAME_CONDITION and n.name != SAME_CONDITION[n.value]:
            continue
        if n.value >> 16 == 0x8007 and n.header != "winerror.h" and per_header[n.header, n.value] > 1:
            continue
        kept.append(n)
    return kept


def names_by_value(names):
    by_value = collections.defaultdict(list)
    for n in names:
        by_value[n.value].append(n)
    for value, group in by_value.items():
        codes = [n for n in group if not n.is_marker]
        if not codes:
            opening = [n for n in group if n.name.endswith(("_FIRST", "_BASE"))]
            codes = opening if len(group) > 1 else group
            assert len(codes) == 1, f"{value:#010x}: cannot choose among markers {group}"
        codes.sort(key=lambda n: (HEADER_ORDER.index(n.header), n.name))
        by_value[value] = codes
    for value, name in EXPRESSION_NAMES:
        assert value not in by_value
        by_value[value] = [Name(name, value, "expression")]
    return by_value


def build_entries(by_value):
    """Returns {value: [Name, ...]}: the names of each table entry, in join order."""
    entries = {}
    for value, group in by_value.items():
        if value > 0xFFFF and value >> 16 != 0x8007:
            entries[value] = group
    for value, group in by_value.items():
        if value > 0xFFFF:
            continue
        assert all(n.is_win32 for n in group), group
        result_form = 0x80070000 | value
        own_result_names = [n for n in by_value.get(result_form, []) if n.header == "winerror.h"]
        others = [n for n in by_value.get(result_form, []) if n.header != "winerror.h"]
        shared = group + others
        if value in PLAIN_SUCCESS_NAMES:
            entries[value] = [n for n in group if n.name == PLAIN_SUCCESS_NAMES[value]]
        else:
            entries[value] = shared
        if value != 0 and value not in WIN32_WITHOUT_RESULT_FORM:
            entries[result_form] = own_result_names or [
                n for n in shared if n.name not in PLAIN_SUCCESS_NAMES.values()]
    stray = [v for v in by_value if v >> 16 == 0x8007 and v not in entries]
    assert not stray, [f"{v:#x}" for v in stray]
    return entries


def joined(names):
    return " & ".join(n.name for n in names)


def check(condition, message):
    if not condition:
        sys.exit(f"gen_error_tables: {message}")


def read_descriptions():
    texts = {}
    with open(DESCRIPTIONS, newline="") as f:
        for line_number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            name, sep, text = line.partition("\t")
            check(sep and text and "\t" not in text, f"descriptions.tsv:{line_number}: bad line")
            check(name not in texts, f"descriptions.tsv:{line_number}: {name} twice")
            texts[name] = text
    return texts


def describe(entries, texts):
    """Returns {value: (text, [described Name, ...])}."""
    described, used = {}, set()
    for value, group in entries.items():
        home = [n for n in group if n.name in texts and (n.value == value or n.is_win32)]
        if home:
            described[value] = (" & ".join(texts[n.name] for n in home), home)
            used.update(n.name for n in home)
    unused = sorted(set(texts) - used)
    check(not unused, f"descriptions for names not in the table: {unused}")
    return described


def cpp_string(text):
    check(text.isascii() and text.isprintable() and '"' not in text and "\\" not in text,
          f"text needs escaping: {text!r}")
    return '"' + text + '"'


def write_table(path, intro, sections):
    lines = [
        "// Generated by tools/gen_error_tables.py from the published result codes; do not edit.",
        f"// {intro}",
        "// clang-format off",
        "",
        '#include "errors/error_tables.h"',
        "",
        "namespace error_tables {",
        "namespace {",
    ]
    for array, char_type, prefix, rows in sections:
        lines.append("")
        lines.append(f"constexpr TableEntry<{char_type}> {array}[] = {{")
        lines.extend(f"    {{0x{value:08X}u, {prefix}{cpp_string(text)}}},"
                     for value, text in rows)
        lines.append("};")
    lines += ["", "} // namespace", ""]
    for array, char_type, _, _ in sections:
        function = array[0].upper() + array[1:]
        lines += [f"std::span<const TableEntry<{char_type}>> {function}() {{",
                  f"    return {array};", "}", ""]
    lines.append("} // namespace error_tables")
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--codes", type=pathlib.Path, default=DEFAULT_CODES)
    args = parser.parse_args()

    names = [n for n in read_published(args.codes) if in_families(n)]
    names = one_name_per_condition(drop_later_additions(names))
    entries = build_entries(names_by_value(names))

    narrow = {v: joined(g) for v, g in entries.items()}
    wide = {}
    for value, group in entries.items():
        kept = [n for n in group if n.name not in WIDE_LACKS]
        if kept:
            wide[value] = joined(kept)

    for label, in_family, count in NAME_FAMILY_COUNTS:
        found = sum(1 for v in narrow if in_family(v))
        check(found == count, f"{label}: {found} entries, expected {count}")
    check(len(narrow) == NARROW_NAMES, f"{len(narrow)} narrow names, expected {NARROW_NAMES}")
    check(len(wide) == WIDE_NAMES, f"{len(wide)} wide names, expected {WIDE_NAMES}")
    joins = sum(1 for g in entries.values() if len(g) > 1)
    check(joins == JOINED_NARROW, f"{joins} joined names, expected {JOINED_NARROW}")

    described = describe(entries, read_descriptions())
    check(len(described) == DESCRIBED_CODES,
          f"{len(described)} described codes, expected {DESCRIBED_CODES}")
    per_family = collections.Counter()
    for _, home in described.values():
        prefix = next((p for p in sorted(DESCRIPTION_FAMILY_COUNTS, key=len, reverse=True)
                       if home[0].name.startswith(p)), None)
        per_family[prefix] += 1
    for prefix, count in DESCRIPTION_FAMILY_COUNTS.items():
        check(per_family[prefix] == count,
              f"{prefix}: {per_family[prefix]} described codes, expected {count}")

    def rows(table):
        return sorted(table.items())

    write_table(NAME_TABLE, "Names of result codes, sorted by code.", [
        ("narrowNames", "char", "", rows(narrow)),
        ("wideNames", "WCHAR", "u", rows(wide)),
    ])
    descriptions = {v: text for v, (text, _) in described.items()}
    write_table(DESCRIPTION_TABLE, "Descriptions of result codes, sorted by code.", [
        ("narrowDescriptions", "char", "", rows(descriptions)),
        ("wideDescriptions", "WCHAR", "u", rows(descriptions)),
    ])
    print(f"{len(narrow)} narrow names, {len(wide)} wide names, {joins} joined, "
          f"{len(described)} descriptions")


if __name__ == "__main__":
    main()

// A string table as data: the program's texts by resource id (IDS_...), as a
// resource script's STRINGTABLE holds them.
#pragma once

struct StringResource {
    unsigned id;
    const char16_t* text;
};

struct StringTable {
    const StringResource* entries;
    int count;
};

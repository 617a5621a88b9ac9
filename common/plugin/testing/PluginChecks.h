#pragma once
// What every plug-in's COM tests check the same way: its classes under
// both ProgIDs, and the table its description object describes.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "vorlan.h"

namespace vorlan::testing {

// An object of the class a ProgID names; empty (and a test failure) when
// it cannot be created.
template <class T>
com::ComPtr<T> CreateByProgId(const wchar_t* progId) {
    CLSID clsid = {};
    EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << progId;
    com::ComPtr<T> object;
    EXPECT_EQ(com::CreateInstance(clsid, object), S_OK) << progId;
    return object;
}

struct ProgIdClass {
    const wchar_t* progId;  // checked as it is and with ".1"
    CLSID clsid;
};
void ExpectRegisteredUnderBothProgIds(std::initializer_list<ProgIdClass> classes);

struct TableDescription {
    const char* progId;  // the synchroniser the description names
    const char* tableName;
    const char* readableName;
    const char* description;
    std::vector<std::string> fieldNames;  // "0", "1", ... in order
};
// Every text, the columns and the icon of the description object that
// propertiesProgId names.
void ExpectDescribesTable(const wchar_t* propertiesProgId, const TableDescription& want);

}  // namespace vorlan::testing

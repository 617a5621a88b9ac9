#include "PluginChecks.h"

#include "Bstr.h"
#include "pindrel.h"

namespace vorlan::testing {

void ExpectRegisteredUnderBothProgIds(std::initializer_list<ProgIdClass> classes) {
    for (const ProgIdClass& c : classes) {
        for (const std::wstring& progId : {std::wstring(c.progId), std::wstring(c.progId) + L".1"}) {
            CLSID clsid = {};
            EXPECT_EQ(CLSIDFromProgID(progId.c_str(), &clsid), S_OK) << com::AnsiFromWide(progId);
            EXPECT_TRUE(IsEqualCLSID(clsid, c.clsid)) << com::AnsiFromWide(progId);
        }
    }
}

void ExpectDescribesTable(const wchar_t* propertiesProgId, const TableDescription& want) {
    auto properties = CreateByProgId<IVorlanProperties>(propertiesProgId);
    ASSERT_TRUE(properties);
    const struct {
        HRESULT (STDMETHODCALLTYPE IVorlanProperties::*get)(BSTR*);
        const char* want;
    } texts[] = {
        {&IVorlanProperties::get_ProgId, want.progId},
        {&IVorlanProperties::get_TableName, want.tableName},
        {&IVorlanProperties::get_ReadableName, want.readableName},
        {&IVorlanProperties::get_Description, want.description},
    };
    for (const auto& t : texts) {
        com::Bstr value;
        EXPECT_EQ((properties.Get()->*t.get)(value.Put()), S_OK);
        EXPECT_EQ(value.Ansi(), t.want);
    }
    short columns = 0;
    EXPECT_EQ(properties->get_ColumnCount(&columns), S_OK);
    EXPECT_EQ(columns, static_cast<short>(want.fieldNames.size()));
    com::ComPtr<IInfoNode> fields;
    ASSERT_EQ(properties->get_FieldNames(fields.Put()), S_OK);
    for (size_t i = 0; i < want.fieldNames.size(); ++i) {
        com::Bstr value;
        fields->GetProperty(com::Bstr::FromAnsi(std::to_string(i)).Get(), value.Put());
        EXPECT_EQ(value.Ansi(), want.fieldNames[i]) << "field " << i;
    }
    HICON icon = nullptr;
    EXPECT_EQ(properties->get_SelectedIcon(&icon), S_OK);
    EXPECT_NE(icon, nullptr);
}

}  // namespace vorlan::testing

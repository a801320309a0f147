#include "Manifest.h"
#include "PluginRegistry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Units(const CPluginString& s) {
    return std::wstring(s.GetBSTR(), s.GetLength());
}

int Handler(void*, CPluginCall*) {
    return 0;
}

void DescribeDefaults(RegisterCommandInfo& registration) {
    registration.AddParameter(L"Empty_default", L"", 0, 0, 1, L"", L"");
    registration.AddParameter(L"out", L"d/e", 1, 1, 0, L"", L"a\tb");
    registration.AddParameter(L"tab", L"", 0, 2, 1, L"x\ty", L"");
}

} // namespace

TEST(Manifest, ACommandWithoutADescriptionIsOneSelfClosingLine) {
    RegisterProperty name(L"Plugin_Name", L"TestPlugin");
    RegisterCommand plain(L"Plain&Simple", Handler, 0);
    RegisterCommand queued(L"Queued", Handler, 1);
    CPluginString manifest;
    BuildManifest(manifest);
    const std::wstring text = Units(manifest);
    EXPECT_NE(std::wstring::npos, text.find(L"\n      <command name=\"plain&amp;Simple\"/>\n"));
    EXPECT_NE(std::wstring::npos,
              text.find(L"\n      <command name=\"queued\" async=\"TRUE\"/>\n"));
    EXPECT_EQ(0u, text.find(L"<SWFStudio>\n  <TestPlugin>\n    <errors>\n"));
    EXPECT_NE(std::wstring::npos, text.find(L"    </commands>\n  </TestPlugin>\n</SWFStudio>\n"));
}

TEST(Manifest, ParameterLinesWriteDefaultsAndRequiredAsDeclared) {
    RegisterCommandInfo info(L"Test", DescribeDefaults, L"");
    EXPECT_EQ(L"      <command name=\"test\">\n"
              L"        <parameter name=\"empty_default\" description=\"\" type=\"IN\" "
              L"default=\"\"/>\n"
              L"        <parameter name=\"out\" description=\"d%2fe\" type=\"OUT\" "
              L"filespec=\"TRUE\" required=\"TRUE\" values=\"a%5ctb\"/>\n"
              L"        <parameter name=\"tab\" description=\"\" default=\"x%5cty\"/>\n"
              L"      </command>\n",
              Units(WriteCommandElement(*info.GetInfo(), 0)));
}

TEST(Manifest, OptionalCommandAttributesFollowInTheirOrder) {
    RegisterCommandInfo info(L"Old", nullptr, L"");
    CCommandInfo& command = *info.GetInfo();
    command.added = CPluginString(L"1.0");
    command.deprecated = CPluginString(L"2.0");
    command.replacement = CPluginString(L"new");
    command.excludedFromAs3 = 1;
    command.hidden = 1;
    command.errors.AddTail(5);
    command.errors.AddTail(-3);
    EXPECT_EQ(L"      <command name=\"old\" async=\"TRUE\" added=\"1.0\" deprecated=\"2.0\" "
              L"replacement=\"new\" excludedfromas3=\"true\" hidden=\"true\" errors=\"-3,5\">\n"
              L"      </command>\n",
              Units(WriteCommandElement(command, 1)));
    POSITION position = command.errors.GetHeadPosition();
    EXPECT_EQ(5, command.errors.GetNext(position));
}

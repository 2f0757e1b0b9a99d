// The layering check: the table's syntax, and includes it allows and refuses.
#include <gtest/gtest.h>

#include "tools/layers/LayerTable.h"

namespace {

using layers::LayerTable;

const char* const kTable = R"(
# bottom up
platform/base:
platform/win:  platform/base
LOW = platform/win platform/base
store:  LOW
app:    store LOW   # the top
app/sub:  app
)";

LayerTable table() {
  std::string error;
  auto parsed = LayerTable::parse(kTable, error);
  EXPECT_TRUE(parsed) << error;
  return parsed ? *parsed : LayerTable{};
}

TEST(LayerTable, AllowsOwnFolderListedFoldersAndGroups) {
  const LayerTable t = table();
  EXPECT_TRUE(t.check("store/Friend.cpp", "#include \"store/Friend.h\"\n#include \"platform/win/WinUser.h\"\n"
                                          "#include <vector>\n#include \"Local.h\"\n")
                  .empty());
  EXPECT_TRUE(t.check("app/Main.cpp", "  #  include \"store/Friend.h\"\n").empty());
}

TEST(LayerTable, RefusesAnIncludeUpwardAndNamesTheRule) {
  const LayerTable t = table();
  const auto broken = t.check("store/Friend.cpp", "#include <string>\n\n#include \"app/AppPaths.h\"\n");
  ASSERT_EQ(broken.size(), 1u);
  EXPECT_EQ(broken[0].file, "store/Friend.cpp");
  EXPECT_EQ(broken[0].line, 3);
  EXPECT_EQ(broken[0].include, "app/AppPaths.h");
  EXPECT_NE(broken[0].message.find("store may not include app"), std::string::npos) << broken[0].message;
  EXPECT_NE(broken[0].message.find("cmake/layers.txt:6: store:  LOW"), std::string::npos) << broken[0].message;
}

TEST(LayerTable, RefusesFoldersTheTableDoesNotName) {
  const LayerTable t = table();
  EXPECT_EQ(t.check("store/Friend.cpp", "#include \"tests/support/TestDevice.h\"\n").size(), 1u);
  const auto stray = t.check("extra/Thing.cpp", "#include \"store/Friend.h\"\n");
  ASSERT_EQ(stray.size(), 1u);
  EXPECT_NE(stray[0].message.find("no folder of the table"), std::string::npos);
}

TEST(LayerTable, ANestedFolderFollowsItsOwnRule) {
  const LayerTable t = table();
  EXPECT_EQ(t.folderOf("app/sub/Deep.cpp"), "app/sub");
  EXPECT_EQ(t.folderOf("app/Main.cpp"), "app");
  EXPECT_EQ(t.folderOf("apple/Main.cpp"), std::nullopt);
  EXPECT_EQ(t.check("app/sub/Deep.cpp", "#include \"store/Friend.h\"\n").size(), 1u);
  EXPECT_TRUE(t.check("app/sub/Deep.cpp", "#include \"app/Main.h\"\n").empty());
}

TEST(LayerTable, MalformedTablesAreRefusedWithTheirLine) {
  std::string error;
  EXPECT_FALSE(LayerTable::parse("a:\nb: c\n", error));
  EXPECT_NE(error.find("b names c"), std::string::npos) << error;
  EXPECT_FALSE(LayerTable::parse("a: LATER\nLATER = a\n", error));
  EXPECT_NE(error.find(":1:"), std::string::npos) << error;
  EXPECT_FALSE(LayerTable::parse("a:\na:\n", error));
  EXPECT_FALSE(LayerTable::parse("just words\n", error));
  EXPECT_FALSE(LayerTable::parse("lower = a\n", error));
}

}  // namespace

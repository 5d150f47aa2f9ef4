// Tree and list boxes as the programme list and the update lists use them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "platform/ui/dump.h"
#include "tests/platform/ui/ui_test_fixture.h"

namespace korvane::platform::ui::testing {
namespace {

using ControlsTest = HeadlessProgramTest;

// Each control's "z" in a dump, by its UTF-8 name.
std::map<std::string, int> DumpedZ(const Program& program, const HeadlessBackend& backend) {
  std::ostringstream out;
  WriteDump(program, backend, "z", out);
  std::map<std::string, int> places;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) {
    const nlohmann::json record = nlohmann::json::parse(line);
    if (record["record"] == "control") places[record["name"].get<std::string>()] = record["z"].get<int>();
  }
  return places;
}

std::string U(const Text& gbk) { return std::string(AsChars(GbkToUtf8(gbk))); }

TEST_F(ControlsTest, TreeItemsAreNumberedInListOrderChildrenIncluded) {
  TreeBox tree = program_.LoadWindow("Board", false).Find<TreeBox>("节目列表");
  const int first = tree.AddItem(-1, "影片一");
  const int second = tree.AddItem(-1, "影片二");
  EXPECT_EQ(tree.AddItem(second, "二之一"), 2);
  // A child of the first film goes between the films and moves the later numbers on.
  EXPECT_EQ(tree.AddItem(first, "一之一"), 1);
  tree.SetCurrentSelection(3);
  EXPECT_EQ(tree.AddItem(first, "一之二"), 2);
  std::vector<Text> texts;
  std::vector<int> parents;
  for (int item = 0; item < tree.ItemCount(); ++item) {
    texts.push_back(tree.ItemText(item));
    parents.push_back(tree.GetParent(item));
  }
  EXPECT_EQ(texts, (std::vector<Text>{"影片一", "一之一", "一之二", "影片二", "二之一"}));
  EXPECT_EQ(parents, (std::vector<int>{-1, 0, 0, -1, 3}));
  EXPECT_EQ(tree.CurrentSelection(), 4) << "the selected item keeps its item, not its number";
  EXPECT_EQ(tree.AddItem(9, "无父"), -1);
  tree.Clear();
  EXPECT_EQ(tree.ItemCount(), 0);
  EXPECT_EQ(tree.CurrentSelection(), -1);
}

TEST_F(ControlsTest, ListRowsInsertSelectAndReadOutOfRangeAsEmpty) {
  ListBox list = program_.LoadWindow("Board", false).Find<ListBox>("列表框_状态");
  EXPECT_EQ(list.AddItem("甲"), 0);
  EXPECT_EQ(list.AddItem("丙"), 1);
  list.SetSelection(1);
  EXPECT_EQ(list.InsertItem(1, "乙"), 1);
  EXPECT_EQ(list.InsertItem(99, "丁"), 3);
  EXPECT_EQ(list.GetCount(), 4);
  EXPECT_EQ(list.GetItemText(1), "乙");
  EXPECT_EQ(list.GetItemText(4), "");
  EXPECT_EQ(list.GetItemText(-1), "");
  EXPECT_EQ(list.Selection(), 2);
  list.SetSelection(-1);
  EXPECT_EQ(list.Selection(), -1);
  // A disabled list still takes rows from code but refuses the user.
  EXPECT_FALSE(InputOf(program_).UserSelectItem(list, 0));
}

// A click on a row or item is the selection that code reads afterwards (the programme
// list's previous and next count from it); only a tree item is activated.
TEST_F(ControlsTest, TheUserSelectsRowsAndItemsAndActivatesTreeItemsOnly) {
  resources_.AddCopy("Lists.layout.json", R"({"controls": [
    {"kind": "TreeBox", "name": "tree", "events": {"Clicked": "OnPicked", "ItemActivated": "OnActivated"}},
    {"kind": "ListBox", "name": "list", "rows": ["a", "b", "c"], "events": {"Clicked": "OnPicked"}}]})");
  program_.BindHandler("OnPicked", [this](const Event& event) { trace_.push_back("Clicked " + event.source.Name()); });
  program_.BindHandler("OnActivated", [this](const Event& event) {
    trace_.push_back("ItemActivated " + std::to_string(event.values.at(0)));
  });
  Window window = program_.LoadWindow("Lists", false);
  TreeBox tree = window.Find<TreeBox>("tree");
  const int title = tree.AddItem(-1, "影片");
  tree.AddItem(title, "第1集");
  tree.AddItem(title, "第2集");
  ListBox list = window.Find<ListBox>("list");
  auto selection = [&](const Unit& unit) { return unit.Kind() == UnitKind::kTreeBox ? tree.CurrentSelection() : list.Selection(); };

  for (Unit unit : {Unit(tree), Unit(list)}) {
    SCOPED_TRACE(unit.Name());
    trace_.clear();
    EXPECT_TRUE(InputOf(program_).UserSelectItem(unit, 2));
    EXPECT_EQ(selection(unit), 2);
    EXPECT_FALSE(InputOf(program_).UserSelectItem(unit, 3));  // no such item
    EXPECT_FALSE(InputOf(program_).UserSelectItem(unit, -1));
    unit.SetVisible(false);
    EXPECT_FALSE(InputOf(program_).UserSelectItem(unit, 1));
    unit.SetVisible(true);
    EXPECT_EQ(selection(unit), 2);
    EXPECT_EQ(trace_, std::vector<std::string>{"Clicked " + unit.Name()});
  }
  trace_.clear();
  EXPECT_TRUE(InputOf(program_).UserActivateTreeItem(tree, 1));
  EXPECT_EQ(tree.CurrentSelection(), 1);
  EXPECT_FALSE(InputOf(program_).UserActivateTreeItem(TreeBox(program_, list.Id()), 0));
  EXPECT_EQ(list.Selection(), 2);
  EXPECT_EQ(trace_, std::vector<std::string>{"ItemActivated 1"});
}

TEST_F(ControlsTest, ZOrderIsKeptPerParent) {
  Window window = program_.LoadWindow("Board", false);
  const UnitId panel = window.Find<Unit>("图片框_面板").Id();
  const UnitId tree = window.Find<Unit>("节目列表").Id();
  const UnitId list = window.Find<Unit>("列表框_状态").Id();
  const UnitId zip = window.Find<Unit>("ZIP压缩1").Id();
  const UnitId board = window.Find<Unit>("画板_水晶进度条_1").Id();
  EXPECT_EQ(ModelOf(window)->children, (std::vector<UnitId>{panel, tree, list, zip}));
  program_.SetUnitZOrder(window.Find<Unit>("节目列表"), ZOrder::kBack);
  program_.SetUnitZOrder(window.Find<Unit>("图片框_面板"), ZOrder::kFront);
  EXPECT_EQ(ModelOf(window)->children, (std::vector<UnitId>{tree, list, zip, panel}));
  // A child stays inside its parent whatever its level.
  program_.SetUnitZOrder(window.Find<Unit>("画板_水晶进度条_1"), ZOrder::kBack);
  EXPECT_EQ(ModelOf(window.Find<Unit>("图片框_面板"))->children, (std::vector<UnitId>{board}));
  // The dump gives each control's place among its siblings, back first.
  EXPECT_EQ(DumpedZ(program_, backend_), (std::map<std::string, int>{{U("节目列表"), 0},
                                                                      {U("列表框_状态"), 1},
                                                                      {U("ZIP压缩1"), 2},
                                                                      {U("图片框_面板"), 3},
                                                                      {U("画板_水晶进度条_1"), 0}}));
}

TEST_F(ControlsTest, TheEngineKeepsItsNewestCallsAndReadsBackItsAddresses) {
  resources_.AddCopy("Engine.layout.json", R"({"controls": [{"kind": "PlaybackEngine", "name": "engine"}]})");
  PlaybackEngine engine = program_.LoadWindow("Engine", false).Find<PlaybackEngine>("engine");
  engine.SetPauseAdAddress("http://ads.test/pause");
  // An evening of episodes: far more calls than the record keeps.
  for (int episode = 1; episode <= 1000; ++episode) {
    engine.SetMediaAddress("第" + std::to_string(episode) + "集");
    engine.Play();
  }
  const auto& calls = ModelOf(engine)->StateOf<EngineState>()->calls;
  EXPECT_EQ(calls.size(), EngineState::kCallsKept);
  EXPECT_EQ(calls.back(), (EngineCall{"Play", ""}));
  EXPECT_EQ(engine.MediaAddress(), "第1000集");
  EXPECT_EQ(engine.PauseAdAddress(), "http://ads.test/pause");
}

TEST_F(ControlsTest, HandlesOfAClosedWindowReadEmptyAndWriteNothing) {
  Window window = program_.LoadWindow("Board", false);
  ListBox list = window.Find<ListBox>("列表框_状态");
  list.AddItem("甲");
  program_.DestroyUnit(window);
  program_.ProcessPendingMessages();
  EXPECT_FALSE(list.IsAlive());
  list.AddItem("乙");
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(window.Caption(), "");
}

TEST_F(ControlsTest, FindingAMissingControlOrTheWrongKindIsAFault) {
  Window window = program_.LoadWindow("Board", false);
  EXPECT_THROW(window.Find<ListBox>("没有这个"), LayoutError);
  EXPECT_THROW(window.Find<ListBox>("节目列表"), LayoutError);
  EXPECT_NO_THROW(window.Find<Unit>("节目列表"));
}

}  // namespace
}  // namespace korvane::platform::ui::testing

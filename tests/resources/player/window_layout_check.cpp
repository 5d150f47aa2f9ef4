#include "tests/resources/player/window_layout_check.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/ui/headless_backend.h"
#include "platform/ui/layout.h"
#include "platform/ui/picture.h"
#include "platform/ui/timebase.h"
#include "resources/player_resources.h"
#include "tests/support/stacking_checks.h"

namespace korvane::player::testing {
namespace {

using platform::ui::UnitModel;

std::string Readable(std::string_view gbk) { return std::string(AsChars(GbkToUtf8(gbk))); }

const platform::ui::ResourceBundle& Resources() {
  static const platform::ui::ResourceBundle resources(embedded::PlayerResources());
  return resources;
}

// A headless program on virtual time that knows the handlers a window names, as no-ops.
class LoadedWindow {
 public:
  explicit LoadedWindow(const ExpectedWindow& expected) {
    auto bind = [this](const char* handler) { program_.BindHandler(handler, [](const platform::ui::Event&) {}); };
    bind(expected.created);
    for (const ExpectedControl& control : expected.controls) {
      for (const auto& [event, handler] : control.events) bind(handler);
    }
    window_ = InspectionOf(program_).FindModel(program_.LoadWindow(expected.name, false).Id());
  }

  const UnitModel& Window() const { return *window_; }
  const UnitModel* Find(std::string_view name) const {
    for (const auto& control : window_->window_state->controls) {
      if (control->name == name) return control.get();
    }
    return nullptr;
  }
  Text NameOf(platform::ui::UnitId id) const {
    const UnitModel* unit = InspectionOf(program_).FindModel(id);
    return unit == nullptr ? Text("?") : unit->name;
  }

 private:
  platform::ui::VirtualTimebase time_;
  platform::ui::HeadlessBackend backend_{time_, nullptr};
  platform::ui::Program program_{backend_, Resources()};
  const UnitModel* window_ = nullptr;
};

std::map<Text, Text> EventsOf(const ExpectedControl& expected) {
  std::map<Text, Text> events;
  for (const auto& [event, handler] : expected.events) events[event] = handler;
  return events;
}

void ExpectControl(const LoadedWindow& window, const UnitModel& control, const ExpectedControl& expected) {
  EXPECT_EQ(control.kind, expected.kind);
  EXPECT_EQ(control.rect, expected.rect);
  EXPECT_EQ(control.parent == 0 ? Text() : window.NameOf(control.parent), expected.parent);
  EXPECT_EQ(control.visible, expected.visible);
  EXPECT_TRUE(control.enabled);
  EXPECT_EQ(control.caption, expected.caption) << Readable(control.caption);
  EXPECT_EQ(control.text_colour, expected.text_colour);
  EXPECT_EQ(control.back_colour, platform::ui::kDefaultColour);
  EXPECT_EQ(control.font, expected.font);
  EXPECT_EQ(control.cursor, expected.cursor);
  EXPECT_EQ(control.pictures, expected.pictures);
  const auto* timer = control.StateOf<platform::ui::TimerState>();
  EXPECT_EQ(timer ? timer->interval_ms : 0, expected.interval_ms);
  const auto* check_box = control.StateOf<platform::ui::CheckBoxState>();
  EXPECT_EQ(check_box ? check_box->tick : 0, 0) << "every check box opens unticked";
  EXPECT_EQ(control.events, EventsOf(expected));
}

// The first four bytes of each format the windows use.
bool HasSignatureOf(std::string_view bytes, std::string_view name) {
  if (name.ends_with(".jpg")) return bytes.starts_with("\xFF\xD8\xFF");
  if (name.ends_with(".gif")) return bytes.starts_with("GIF89a") || bytes.starts_with("GIF87a");
  if (name.ends_with(".ico")) return bytes.starts_with(std::string_view("\0\0\1\0", 4));
  return false;
}

}  // namespace

std::string_view PlayerResource(std::string_view name) {
  return Resources().Find(name).value_or(std::string_view());
}

void ExpectWindowAsDesigned(const ExpectedWindow& expected) {
  const LoadedWindow loaded(expected);
  const UnitModel& window = loaded.Window();
  const platform::ui::WindowState& state = *window.window_state;
  EXPECT_EQ(window.caption, expected.caption) << Readable(window.caption);
  EXPECT_EQ(window.rect.width, expected.width);
  EXPECT_EQ(window.rect.height, expected.height);
  EXPECT_EQ(state.frame, platform::ui::WindowFrame::kNone);
  EXPECT_EQ(window.back_colour, expected.back_colour);
  EXPECT_EQ(window.pictures.normal, expected.picture);
  EXPECT_EQ(state.taskbar_button, expected.taskbar_button);
  EXPECT_EQ(state.esc_closes, expected.esc_closes);
  EXPECT_EQ(state.draggable, expected.draggable);
  EXPECT_EQ(state.centred, expected.centred);
  EXPECT_FALSE(state.always_on_top);
  EXPECT_EQ(window.visible, expected.visible);
  EXPECT_EQ(state.icon, expected.icon);
  EXPECT_EQ(window.events, (std::map<Text, Text>{{"Created", expected.created}}));
  EXPECT_TRUE(state.menus.empty());

  // The layout lists exactly the design's controls, in the design's order.
  std::vector<Text> names;
  for (const auto& control : state.controls) names.push_back(control->name);
  std::vector<Text> expected_names;
  for (const ExpectedControl& control : expected.controls) expected_names.push_back(control.name);
  EXPECT_EQ(names, expected_names);

  for (const ExpectedControl& control : expected.controls) {
    SCOPED_TRACE(Readable(control.name));
    const UnitModel* found = loaded.Find(control.name);
    ASSERT_NE(found, nullptr);
    ExpectControl(loaded, *found, control);
  }

  testing_support::ExpectStandsInFront(window, expected.in_front_of);
}

std::map<Text, platform::ui::PictureSize> ExpectPicturesDecode(std::string_view window) {
  const platform::ui::Layout layout = platform::ui::LoadLayout(Resources(), window);
  EXPECT_FALSE(layout.pictures.empty());
  for (const auto& [name, size] : layout.pictures) {
    SCOPED_TRACE(name);
    const std::string_view bytes = PlayerResource(name);
    EXPECT_TRUE(HasSignatureOf(bytes, name));
    const std::optional<platform::ui::Picture> picture = platform::ui::DecodePicture(bytes);
    EXPECT_TRUE(picture.has_value());
    if (picture) {
      EXPECT_EQ((platform::ui::PictureSize{picture->width, picture->height}), size);
    }
  }
  return layout.pictures;
}

}  // namespace korvane::player::testing

#pragma once
// The one way a program binds its handlers: each class that handles a layout's events
// keeps a table, a row a handler name the layout uses and the member function that
// handles it, so a handler is found from its layout name in one step. The member takes
// what it acts on: nothing, the event, or the window of the unit that raised it (a
// window's own event, or one of its controls, timers or menus).

#include <span>
#include <string_view>
#include <type_traits>
#include <variant>

#include "platform/ui/program.h"
#include "platform/ui/units.h"

namespace korvane::platform::ui {

template <typename Owner>
struct HandlerRow {
  using OnNothing = void (Owner::*)();
  using OnEvent = void (Owner::*)(const Event&);
  using OnWindow = void (Owner::*)(const Window&);

  constexpr HandlerRow(std::string_view handler_name, OnNothing handler) : name(handler_name), member(handler) {}
  constexpr HandlerRow(std::string_view handler_name, OnEvent handler) : name(handler_name), member(handler) {}
  constexpr HandlerRow(std::string_view handler_name, OnWindow handler) : name(handler_name), member(handler) {}

  std::string_view name;
  std::variant<OnNothing, OnEvent, OnWindow> member;
};

template <typename Owner>
void BindHandlers(Program& program, Owner& owner, std::type_identity_t<std::span<const HandlerRow<Owner>>> rows) {
  for (const HandlerRow<Owner>& row : rows) {
    program.BindHandler(row.name, [&owner, member = row.member](const Event& event) {
      std::visit(
          [&](auto handler) {
            using Member = decltype(handler);
            if constexpr (std::is_same_v<Member, typename HandlerRow<Owner>::OnNothing>) {
              (owner.*handler)();
            } else if constexpr (std::is_same_v<Member, typename HandlerRow<Owner>::OnEvent>) {
              (owner.*handler)(event);
            } else {
              (owner.*handler)(event.source.ParentWindow());
            }
          },
          member);
    });
  }
}

}  // namespace korvane::platform::ui

#pragma once
// The single-instance object: a named object that a later start of a program can find
// while the process that made it runs. It goes away with its holder, however that
// process ends. Names are compared byte for byte; an empty name makes an object that is
// never found.

#include <memory>
#include <string_view>

namespace korvane::platform {

class NamedEvent {
 public:
  virtual ~NamedEvent() = default;  // releases the name
  // Whether this object made the name its own: of two processes that create one name at
  // once, exactly one does.
  virtual bool HoldsName() const = 0;
};

class NamedEvents {
 public:
  virtual ~NamedEvents() = default;
  // True when a live object of that name exists (in this or another process).
  virtual bool OpenNamedEvent(std::string_view name) = 0;
  // Makes the object and holds it until the result is destroyed or the process ends.
  // When the name is held already, the result holds nothing of its own.
  virtual std::unique_ptr<NamedEvent> CreateNamedEvent(std::string_view name) = 0;
};

}  // namespace korvane::platform

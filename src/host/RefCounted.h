// The host's reference counting, the same for every object the module hands
// to the host: the count starts at 1, add-reference and release return the
// new count, and release destroys the object when it reaches 0. Plain
// arithmetic: the host never calls in from two threads at once.
//
// Each class keeps its own int32 `refCount_` field and its own addRef and
// release overrides, in their interface slots; the overrides call these. The
// helper adds no virtual function and no data, so neither the host's slot
// order nor the object's fields change. A class grants it access with
// `friend class RefCounted<Class>;` (to the count and its destructor).
#pragma once

#include <cstdint>

namespace cs {

template <typename Object>
class RefCounted {
  protected:
    uint32_t addReference() { return static_cast<uint32_t>(++self().refCount_); }

    uint32_t releaseReference() {
        Object& object = self();
        const int32_t count = --object.refCount_;
        if (count == 0) {
            delete &object;
        }
        return static_cast<uint32_t>(count);
    }

  private:
    Object& self() { return static_cast<Object&>(*this); }
};

}  // namespace cs

// COM on the program's one thread, and interface pointers that release
// themselves.
#pragma once
#include <objbase.h>

// Initialises COM for this thread the first time it is called; COM then stays
// initialised for the rest of the process (the shell's objects and dialogs
// need it, and the process ends soon after).
void EnsureComInitialised();

// A COM interface pointer, released when the object goes.
template <class Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (pointer_) pointer_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  Interface** out() { return &pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

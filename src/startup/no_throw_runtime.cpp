// The standard library's error paths for a program built without exceptions.
// The library's own versions throw (there is no handler, so they end in
// terminate) and drag the whole exception and name-demangling machinery into
// setup.exe: about 100 KB of a program whose behaviour needs none of it. These
// end the process the way an unhandled exception would, without the message.
// Linked into setup.exe only: test programs keep the library's versions.
// The set is exactly the one the library defines together (functexcept.o),
// so that no use of another pulls the library's object in beside these.
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>

namespace std {

void __throw_bad_exception() { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }

}  // namespace std

namespace __gnu_cxx {

// What terminate runs by default: the library's version names the exception,
// which needs the demangler (46 KB).
void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

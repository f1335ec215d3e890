// The installer catches no C++ exception: a throw could only end in std::terminate, and one
// crossing a window procedure would not even get that far safely. So the few places where
// the standard library would throw end the process at once instead. Defining them here keeps
// libstdc++'s exception and demangling machinery (over 150 KiB) out of the executable.
#include <cstdlib>
#include <new>
#include <typeinfo>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
}  // namespace std

// Allocation failure ends the process too, rather than throwing std::bad_alloc.
void* operator new(std::size_t size) {
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    std::abort();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

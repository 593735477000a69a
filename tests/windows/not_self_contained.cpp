// Built like an ordinary DLL (exports, shared C++ runtime) so that check-dll is seen to refuse it.
#include <string>
__declspec(dllexport) std::size_t exported_length(const std::string& s) { return s.size(); }

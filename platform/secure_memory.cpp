#include "platform/secure_memory.h"

namespace orvika2 {

void SecureWipe(void* data, std::size_t size) {
    auto* bytes = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = 0;
}

}  // namespace orvika2

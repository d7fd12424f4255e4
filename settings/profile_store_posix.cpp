#include "settings/profile_store.h"

namespace orvika2 {

std::unique_ptr<ProfileStore> MakePlatformProfileStore() { return MakePortableProfileStore(); }

}  // namespace orvika2

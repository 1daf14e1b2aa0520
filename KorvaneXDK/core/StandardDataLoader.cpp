/** @file StandardDataLoader.cpp Shared opening for every data loader. */
#include "KorvaneXDK/core/StandardDataLoader.h"

#include "KorvaneXDK/core/KorvaneStream.h"

namespace korvane
{

boost::shared_ptr<IKorvaneStream> CStandardDataLoader::OpenShared(const std::string& name)
{
    return boost::shared_ptr<IKorvaneStream>(Open(name));
}

void CStandardDataLoader::Purge(const std::string&) {}

void CStandardDataLoader::Prefetch(const std::string&) {}

} // namespace korvane

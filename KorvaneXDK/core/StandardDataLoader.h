/** @file StandardDataLoader.h Base of the data loaders: shared opening and the empty extras. */
#pragma once

#include "KorvaneXDK/core/DataLoader.h"

namespace korvane
{

class CStandardDataLoader : public IDataLoader, public virtual CObject
{
public:
    /// Open, wrapped in a shared pointer.
    boost::shared_ptr<IKorvaneStream> OpenShared(const std::string& name) override;
    void Purge(const std::string& name) override;
    void Prefetch(const std::string& name) override;
};

} // namespace korvane

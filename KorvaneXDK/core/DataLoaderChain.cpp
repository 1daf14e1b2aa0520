/** @file DataLoaderChain.cpp Asking a list of data loaders in turn. */
#include "KorvaneXDK/core/DataLoaderChain.h"

#include "KorvaneXDK/core/Exception.h"

using korvane::IKorvaneStream;

CDataLoaderChain::CDataLoaderChain() = default;

IKorvaneStream* CDataLoaderChain::Open(const std::string& name)
{
    if (loaders_.empty()) {
        throw korvane::EInvalidParameter(this, "data loader list is empty.");
    }
    for (const auto& loader : loaders_) {
        try {
            if (IKorvaneStream* stream = loader->Open(name)) {
                return stream;
            }
            break;
        } catch (const korvane::EFileOpenError&) {
            // This loader does not hold the name; the next one may.
        }
    }
    throw korvane::EFileOpenError(this, "file entry not found: \"" + name + "\"");
}

bool CDataLoaderChain::Exists(const std::string& name)
{
    for (const auto& loader : loaders_) {
        if (loader->Exists(name)) {
            return true;
        }
    }
    return false;
}

void CDataLoaderChain::EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out)
{
    for (const auto& loader : loaders_) {
        loader->EnumerateFiles(directory, recursive, out);
    }
}

void CDataLoaderChain::Add(boost::shared_ptr<korvane::IDataLoader> loader)
{
    if (loader) {
        loaders_.push_back(loader);
    }
}

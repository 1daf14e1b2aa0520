/** @file DataLoaderChain.h A data loader that asks a list of loaders in turn. */
#pragma once

#include <vector>

#include "KorvaneXDK/core/StandardDataLoader.h"

/// Tries its loaders in insertion order. A loader that does not hold a name (EFileOpenError)
/// passes the request on; any other failure (a damaged entry) ends the request at once.
/// Add must not run while other threads use the chain.
class CDataLoaderChain : public korvane::CStandardDataLoader
{
public:
    CDataLoaderChain();

    /// EInvalidParameter "data loader list is empty." without loaders; EFileOpenError
    /// "file entry not found: \"name\"" when no loader holds the name.
    korvane::IKorvaneStream* Open(const std::string& name) override;
    bool Exists(const std::string& name) override;
    /// Every loader's listing in turn, appended to out; duplicates are kept.
    void EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out) override;

    virtual void Add(boost::shared_ptr<korvane::IDataLoader> loader);

private:
    std::vector<boost::shared_ptr<korvane::IDataLoader>> loaders_;
};

/** @file DataLoader.h The interface every source of named data (folder, archive, chain) implements. */
#pragma once

#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

class IKorvaneStream;

/// Opens named resources as streams. Names use the backslash between folders.
/// A loader that does not hold a name throws EFileOpenError from Open, which lets a
/// CDataLoaderChain go on with its next loader.
class IDataLoader : public IInterface
{
public:
    /// A new stream over the named data, owned by the caller.
    virtual IKorvaneStream* Open(const std::string& name) = 0;
    /// The same as Open, held by a shared pointer; each call yields an independent stream.
    virtual boost::shared_ptr<IKorvaneStream> OpenShared(const std::string& name) = 0;
    /// Whether the loader holds the name; never throws for missing names.
    virtual bool Exists(const std::string& name) = 0;
    /// Appends the names of the files in a folder ("" is the top level) to out, which is not
    /// cleared; with recursive true the files of every sub-folder follow as well.
    virtual void EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out) = 0;
    /// Lets a loader drop what it keeps for a name once the caller has it; no loader keeps anything.
    virtual void Purge(const std::string& name) = 0;
    /// Tells a loader that a name will be opened soon; no loader acts on it.
    virtual void Prefetch(const std::string& name) = 0;
};

} // namespace korvane

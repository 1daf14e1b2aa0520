/** @file SteamRemoteStorage.h The cloud-storage client: created at start-up, takes part only through its busy flag. */
#pragma once

#include <cstdint>

#include "os/store/CallResult.h"
#include "os/store/StoreTypes.h"

class CSteamRemoteStorage
{
public:
    CSteamRemoteStorage() = default;
    CSteamRemoteStorage(const CSteamRemoteStorage&) = delete;
    CSteamRemoteStorage& operator=(const CSteamRemoteStorage&) = delete;

    /// Nothing ever starts a request here, so this stays false.
    bool IsBusy() const { return busy_; }
    std::uint64_t GetAttachmentHandle() const { return attachment_; }

private:
    void OnFileShared(const os::store::RemoteStorageFileShareResult*, bool) {}
    void OnAttachmentDownloaded(const os::store::RemoteStorageDownloadUgcResult*, bool) {}

    bool busy_ = false;
    std::uint64_t attachment_ = os::store::kInvalidUgcHandle;
    os::store::CallResult<CSteamRemoteStorage, os::store::RemoteStorageFileShareResult> shareResult_;
    os::store::CallResult<CSteamRemoteStorage, os::store::RemoteStorageDownloadUgcResult> downloadResult_;
};

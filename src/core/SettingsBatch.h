#pragma once

#include "core/ISettingsStore.h"
#include "core/NumberedError.h"

// The writes made to `store` during the life of this object reach the disk
// together at Commit(). UI thread only, like the store.
class SettingsBatch {
public:
    explicit SettingsBatch(ISettingsStore& store) : store_(store) { store_.BeginBatch(); }
    ~SettingsBatch()
    {
        // Left without Commit only while another failure unwinds: that one is
        // reported, the collected writes are still tried.
        if (open_) {
            try {
                store_.EndBatch();
            } catch (const NumberedError&) {
            }
        }
    }
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

    // Writes what was collected; failures are thrown as by ISettingsStore::Write.
    void Commit()
    {
        open_ = false;
        store_.EndBatch();
    }

private:
    ISettingsStore& store_;
    bool open_ = true;
};

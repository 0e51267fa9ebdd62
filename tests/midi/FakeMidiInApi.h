#pragma once

#include "midi/IMidiInApi.h"

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <cstring>
#include <deque>

// The input layer under the unit tests: records every call, fails the calls
// it is told to, and plays the device's part on the test's own thread.
class FakeMidiInApi : public IMidiInApi {
public:
    QStringList deviceNames;
    QSet<int> failingCaps;
    QMap<QString, MmResult> failures;  // call name -> result
    QMap<QString, int> failuresLeft;   // call name -> how many calls fail (absent: all)
    QStringList calls;
    std::deque<MidiHdr*> queued;
    MidiInCallback callback = nullptr;
    std::uintptr_t instance = 0;
    MidiInHandle openHandle = 0;

    unsigned GetNumDevs() override { return static_cast<unsigned>(deviceNames.size()); }

    MmResult GetDevCaps(int id, QString& name) override
    {
        if (id < 0 || id >= deviceNames.size() || failingCaps.contains(id))
            return MMSYSERR_BADDEVICEID;
        name = deviceNames[id];
        return MMSYSERR_NOERROR;
    }

    MmResult Open(MidiInHandle& handle, int id, MidiInCallback cb, std::uintptr_t inst) override
    {
        calls << QStringLiteral("Open %1").arg(id);
        if (MmResult r = Fail("Open"))
            return r;
        if (id < 0 || id >= deviceNames.size())
            return MMSYSERR_BADDEVICEID;
        callback = cb;
        instance = inst;
        handle = openHandle = 42;
        return MMSYSERR_NOERROR;
    }

    MmResult PrepareHeader(MidiInHandle, MidiHdr*) override { return Call("PrepareHeader"); }

    MmResult UnprepareHeader(MidiInHandle, MidiHdr*) override { return Call("UnprepareHeader"); }

    MmResult AddBuffer(MidiInHandle, MidiHdr* h) override
    {
        const MmResult r = Call("AddBuffer");
        if (r == MMSYSERR_NOERROR)
            queued.push_back(h);
        return r;
    }

    MmResult Start(MidiInHandle) override { return Call("Start"); }
    MmResult Stop(MidiInHandle) override { return Call("Stop"); }

    MmResult Reset(MidiInHandle h) override
    {
        while (!queued.empty())
            ReturnBuffer(QByteArray(), 0, h);
        return Call("Reset");
    }

    MmResult Close(MidiInHandle) override
    {
        const MmResult r = Call("Close");
        openHandle = 0;
        return r;
    }

    QString GetErrorText(MmResult code) override { return QStringLiteral("fake error %1").arg(code); }

    // The device's side.
    void ShortMessage(std::uint32_t packed, std::uint32_t timestamp)
    {
        callback(openHandle, MIM_DATA, instance, packed, timestamp);
    }

    void ReturnBuffer(const QByteArray& bytes, std::uint32_t timestamp, MidiInHandle h = 0)
    {
        MidiHdr* hdr = queued.front();
        queued.pop_front();
        std::memcpy(hdr->lpData, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        hdr->dwBytesRecorded = static_cast<std::uint32_t>(bytes.size());
        callback(h ? h : openHandle, MIM_LONGDATA, instance, reinterpret_cast<std::uintptr_t>(hdr),
                 timestamp);
    }

private:
    MmResult Call(const char* name)
    {
        calls << QString::fromLatin1(name);
        return Fail(name);
    }

    MmResult Fail(const char* name)
    {
        const QString key = QString::fromLatin1(name);
        if (!failures.contains(key))
            return MMSYSERR_NOERROR;
        if (failuresLeft.contains(key) && failuresLeft[key]-- <= 0)
            return MMSYSERR_NOERROR;
        return failures[key];
    }
};

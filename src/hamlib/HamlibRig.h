#pragma once

#include "core/IRadio.h"
#include "hamlib/HamlibConfig.h"
#include "hamlib/HamlibModel.h"
#include "core/Vfo.h"

#include <hamlib/rig.h>

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// One radio through Hamlib: owns the RIG* made for a configuration (cleaned
// up with this object, closed first when open), opens it with settings that
// keep a radio that does not answer from holding its caller for long, and
// closes it. It may be closed and opened again: Hamlib recovers a lost
// connection only that way.
// Only one thread may use it at a time (HamlibWorker's); Hamlib's model list
// must have been loaded before (HamlibModels::Instance).
class HamlibRig {
public:
    // How long one read waits for a serial radio, and how often it is tried
    // again: a radio that has gone quiet holds a call 600 ms at most.
    static constexpr int kSerialTimeoutMs = 300;
    static constexpr int kSerialRetries = 1;
    // A network server may itself be waiting on its radio: it gets longer.
    static constexpr int kNetworkTimeoutMs = 1000;

    // The handle for `config`, or null with `error` set: a model Hamlib does
    // not know, or a setting Hamlib refuses for it.
    static std::unique_ptr<HamlibRig> Create(const HamlibConfig& config, QString& error);
    ~HamlibRig();
    HamlibRig(const HamlibRig&) = delete;
    HamlibRig& operator=(const HamlibRig&) = delete;

    // Opens the port and the radio: Hamlib's return code; on failure `why`
    // says what went wrong.
    int Open(QString& why);
    void Close();
    bool isOpen() const { return open_; }

    // The handle for a call into Hamlib, errno cleared first: Hamlib's reads
    // (read_string_generic) sleep 5 ms after every byte while errno holds
    // EAGAIN, whoever left it there (Qt's own mutex waits do on this thread)
    // and never clear it, so a reply of 38 characters would take 200 ms.
    RIG* ForCall() const;
    // Maker, model and port where it has one, e.g. "Kenwood TS-480 on /dev/ttyUSB0".
    const QString& name() const { return name_; }
    // VFO B can be read without switching the radio to it.
    bool ReadsVfoB() const { return readsVfoB_; }
    // Raw text may go through: not on NET rigctl, where Hamlib 4.5.4 waits
    // for a reply that never comes and breaks the connection.
    bool TakesRawText() const;
    // Hamlib only pretends to be a radio: its dummy, a rig without a port.
    bool Simulated() const;
    // The modes of the radio open, with their normal passbands.
    QList<RadioMode> Modes() const;
    // The functions and levels it sets and the VFO operations it carries out.
    RadioAbilities Abilities() const;
    // A request or read failed with `code`: the radio is gone when that is a
    // failure of the link and a frequency read fails too (one garbled or late
    // reply is not the radio gone).
    bool GoneAfter(int code);

    static vfo_t ToHamlib(Vfo vfo);
    // Empty for any VFO but A (Main) and B (Sub).
    static std::optional<Vfo> FromHamlib(vfo_t vfo);
    // "VFOA"; "currVFO" for none.
    static QString VfoName(std::optional<Vfo> vfo);
    // Hamlib's text for a return code, e.g. "Communication timed out".
    static QString ErrorText(int code);
    // The code says the radio or its connection failed, not that a request was refused.
    static bool IsLinkFailure(int code);

private:
    struct Cleanup {
        void operator()(RIG* rig) const { rig_cleanup(rig); }
    };

    HamlibRig(const HamlibModel& model, const HamlibConfig& config);
    bool Configure(const HamlibConfig& config, QString& error);
    bool SetConf(const char* name, const QString& value, QString& error);
    bool PortMissing() const;

    std::unique_ptr<RIG, Cleanup> rig_;
    HamlibPortKind portKind_;
    bool readsVfoB_;
    QString port_;
    QString name_;
    bool open_ = false;
};

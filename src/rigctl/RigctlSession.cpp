#include "rigctl/RigctlSession.h"

RigctlSession::RigctlSession(IRadio& radio, const Options& options) : commands_(radio, options)
{
}

QByteArray RigctlSession::Answer(const QByteArray& line)
{
    QByteArray request = line.trimmed();
    char separator = 0;
    if (!request.isEmpty() && QByteArrayLiteral("+;|,").contains(request[0])) {
        separator = request[0] == '+' ? '\n' : request[0];
        request.remove(0, 1);
    }
    QByteArray answer;
    if (quit_)
        return answer;
    commands_.Run(request, [&](const RigCommands::Step& step) {
        answer += step.command ? Format(step, separator) : Unsupported(step.word, separator);
        quit_ = quit_ || step.reply.endsSession;
    });
    return answer;
}

QByteArray RigctlSession::Unsupported(const QByteArray& word, char separator)
{
    const QByteArray report = RigResult::Report(RigResult::kNotAvailable) + '\n';
    if (!separator)
        return report;
    return (word.startsWith('\\') ? word.mid(1) : word) + ':' + separator + report;
}

QByteArray RigctlSession::Format(const RigCommands::Step& step, char separator)
{
    const RigCommands::Command& command = *step.command;
    const RigCommands::Reply& reply = step.reply;
    if (reply.lacking)
        return Unsupported(step.word, separator);
    const QByteArray report = RigResult::Report(reply.result) + '\n';
    if (!separator)
        return command.IsChange() || reply.result != RigResult::kOk ? report : reply.values.join('\n') + '\n';
    QByteArray text = QByteArray(command.longName) + ':';
    if (command.IsChange())
        for (const QByteArray& arg : step.args)
            text += ' ' + arg;
    text += separator;
    if (!command.IsChange() && reply.result == RigResult::kOk) {
        for (qsizetype i = 0; i < reply.values.size(); ++i) {
            const QByteArray& label = command.labels.value(i);
            text += (label.isEmpty() ? QByteArray() : label + ": ") + reply.values[i] + separator;
        }
    }
    return text + report;
}

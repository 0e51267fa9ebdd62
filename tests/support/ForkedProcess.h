#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// A helper program (rigctld, the radio simulator) started with fork and exec
// rather than QProcess: under ThreadSanitizer, Qt 6.4's QProcess leaves the
// starting thread's record without the locks it takes afterwards, and every
// hand-off to the Hamlib worker would then be reported as a race. The program
// ends with the test, whatever ends the test; its standard output is a pipe.
class ForkedProcess {
public:
    ~ForkedProcess() { Kill(); }

    // `program`: a full path (the child may only call what is safe after fork).
    bool Start(const QString& program, const QStringList& arguments)
    {
        Kill();
        int out[2];
        if (program.isEmpty() || pipe2(out, O_CLOEXEC) != 0)
            return false;
        std::vector<QByteArray> words{program.toLocal8Bit()};
        for (const QString& argument : arguments)
            words.push_back(argument.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            dup2(out[1], STDOUT_FILENO);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        out_ = out[0];
        return pid_ > 0;
    }
    // The first line the program printed, trimmed; empty when none came in time.
    QString FirstLine(int timeoutMs = 10000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        QByteArray line;
        pollfd ready{out_, POLLIN, 0};
        char c = 0;
        while (poll(&ready, 1, int(deadline.remainingTime())) == 1 && read(out_, &c, 1) == 1 && c != '\n')
            line += c;
        return QString::fromLocal8Bit(line).trimmed();
    }
    void Kill()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        close(out_);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

#include "terminal.h"

#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <string>

// Echo control and terminal detection have no Qt API: the console calls of each platform.
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace Terminal {

bool isStandardInput()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stdin));
#else
    return isatty(STDIN_FILENO);
#endif
}

bool isStandardError()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr));
#else
    return isatty(STDERR_FILENO);
#endif
}

QString readLine()
{
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromLocal8Bit(line.c_str());
}

QString readPassword(const QString &prompt)
{
    QTextStream(stderr) << prompt << Qt::flush;
#ifdef Q_OS_WIN
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    GetConsoleMode(input, &mode);
    SetConsoleMode(input, mode & ~ENABLE_ECHO_INPUT);
    const QString password = readLine();
    SetConsoleMode(input, mode);
#else
    termios saved{};
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    const QString password = readLine();
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
#endif
    QTextStream(stderr) << '\n' << Qt::flush;
    return password;
}

} // namespace Terminal

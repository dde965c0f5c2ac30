#pragma once
// A pseudo-terminal pair for the tests: the slave is a real serial port the
// link opens by its path, the master plays the range finder.

#include <QString>
#include <string_view>

class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool IsValid() const { return m_master >= 0; }
    QString SlavePath() const { return m_slavePath; }

    // Writes all of `bytes` to the master side; false on failure.
    bool Send(std::string_view bytes);
    // Closes the master side: the device vanishes for the slave's reader.
    void CloseMaster();

private:
    int m_master = -1;
    QString m_slavePath;
};

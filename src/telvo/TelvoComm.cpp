#include "telvo/TelvoComm.h"

TelvoComm::TelvoComm() = default;
TelvoComm::~TelvoComm() = default;

int TelvoComm::Open(const QString& /*port*/, QObject* /*target*/) { return 0; }
int TelvoComm::Close() { return 1; }
void TelvoComm::SetListen(int /*listen*/) {}

#pragma once
// What the progress dialog says about a transfer beyond its failure notices: the port line,
// the Stop button, the question before a write is stopped and the notice of a stopped
// transfer, in the three built-in forms chosen by LanguageIndex.
#include <QString>

// "Port: COM1 (/dev/ttyUSB0)"; a port name that stands for no device says so.
QString transferPortText(int languageIndex, const QString &portName, const QString &device);
QString stopButtonText(int languageIndex);
// Asked before a running write is stopped.
QString stopWriteQuestion(int languageIndex);
// After a stopped transfer: a read changed nothing; a write says how many of its blocks the
// radio took (blocksDone of blockCount).
QString transferStoppedText(int languageIndex, bool read, int blocksDone, int blockCount);
// After the read-back of a write was stopped: the write went through but is not checked.
QString checkStoppedText(int languageIndex);

#include "TransferMessages.h"

#include "base/Globals.h"

QString transferPortText(int languageIndex, const QString &portName, const QString &device)
{
    if (portName.isEmpty())
        return languageText(languageIndex, "Port: none chosen", "串口：未选择", "串口：未選擇");
    if (device.isEmpty())
        return languageText(languageIndex, "Port: %1 (no serial device)", "串口：%1（无串口设备）",
                            "串口：%1（無串口設備）")
            .arg(portName);
    if (device == portName)
        return languageText(languageIndex, "Port: %1", "串口：%1", "串口：%1").arg(portName);
    return languageText(languageIndex, "Port: %1 (%2)", "串口：%1（%2）", "串口：%1（%2）").arg(portName, device);
}

QString stopButtonText(int languageIndex)
{
    return languageText(languageIndex, "Stop", "停止", "停止");
}

QString stopWriteQuestion(int languageIndex)
{
    return languageText(languageIndex, "The radio will be left partly written. Stop writing?",
                        "对讲机将只写入一部分。停止写入吗？", "對講機將只寫入一部分。停止寫入嗎？");
}

QString transferStoppedText(int languageIndex, bool read, int blocksDone, int blockCount)
{
    if (read)
        return languageText(languageIndex, "Reading stopped. Nothing was changed.", "读取已停止，没有任何改变。",
                            "讀取已停止，沒有任何改變。");
    if (blocksDone == 0)
        return languageText(languageIndex, "Writing stopped before the first block. The radio is unchanged.",
                            "写入在第一块之前停止，对讲机没有改变。", "寫入在第一塊之前停止，對講機沒有改變。");
    return languageText(languageIndex, "Writing stopped after %1 of %2 blocks. The radio is left partly written.",
                        "写入在 %2 块中的第 %1 块后停止，对讲机只写入了一部分。",
                        "寫入在 %2 塊中的第 %1 塊後停止，對講機只寫入了一部分。")
        .arg(blocksDone)
        .arg(blockCount);
}

QString checkStoppedText(int languageIndex)
{
    return languageText(languageIndex, "Checking stopped. The radio was written but not read back.",
                        "校验已停止。对讲机已写入，但没有读回校验。", "校驗已停止。對講機已寫入，但沒有讀回校驗。");
}

#include "telvo/RangeFailure.h"

#include <QCoreApplication>

QString RangeFailureText(int32_t why) {
    const char* text = QT_TRANSLATE_NOOP("RangeFailure", "測距儀未能測量，請再試一次。");
    switch (static_cast<RangeFailure>(why)) {
    case RangeFailure::NoMeasurement:
        break;
    case RangeFailure::HardwareError:
        text = QT_TRANSLATE_NOOP("RangeFailure", "測距儀報告硬件錯誤，沒有讀數。");
        break;
    case RangeFailure::NotReady:
        text = QT_TRANSLATE_NOOP("RangeFailure", "測距儀尚未就緒，沒有讀數。");
        break;
    case RangeFailure::Refused:
        text = QT_TRANSLATE_NOOP("RangeFailure", "測距儀拒絕了請求，沒有讀數。");
        break;
    case RangeFailure::NoAnswer:
        text = QT_TRANSLATE_NOOP("RangeFailure", "測距儀沒有回答，沒有讀數。");
        break;
    case RangeFailure::FrameLost:
        text = QT_TRANSLATE_NOOP("RangeFailure", "收到不完整的資料，已丟棄。");
        break;
    case RangeFailure::UnknownUnit:
        text = QT_TRANSLATE_NOOP("RangeFailure", "測距儀的單位無法換算成毫米，讀數已略過。");
        break;
    case RangeFailure::CannotStore:
        text = QT_TRANSLATE_NOOP("RangeFailure", "讀數無法完整寫入尺寸，已略過。");
        break;
    }
    return QCoreApplication::translate("RangeFailure", text);
}

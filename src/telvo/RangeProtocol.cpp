#include "telvo/RangeProtocol.h"

#include "telvo/BoschMtProtocol.h"
#include "telvo/LeicaBleProtocol.h"
#include "telvo/LeicaGsiProtocol.h"
#include "telvo/LineProtocol.h"

std::unique_ptr<RangeProtocol> MakeRangeProtocol(const QString& name) {
    if (name == QLatin1String("lines"))
        return std::make_unique<LineProtocol>();
    if (name == QLatin1String("bosch-spp"))
        return std::make_unique<BoschMtProtocol>(true);
    if (name == QLatin1String("bosch-ble"))
        return std::make_unique<BoschMtProtocol>(false);
    if (name == QLatin1String("leica-spp"))
        return std::make_unique<LeicaGsiProtocol>();
    if (name == QLatin1String("leica-ble"))
        return std::make_unique<LeicaBleProtocol>();
    return nullptr;
}

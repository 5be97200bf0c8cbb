#include "engine-sim/EngineSettings.h"

#include "engine-sim/TextCodec.h"

namespace marlow {

EngineSettings EngineSettings::from(const EngineParams& params)
{
    EngineSettings settings;
    settings.package = toUtf8(readHostText(params.packagePath));
    settings.gpsImage = toUtf8(readHostText(params.imagePath));
    settings.role = params.role;
    settings.ready = params.ready == 1;
    settings.options.writePackage = params.DownLoadVKB != 0;
    settings.options.writeGpsImage = params.DownloadRES != 0;
    settings.options.checkPhoneName = params.CKPhoneName != 0;
    settings.options.checkEmmc = params.CKeMMC != 0;
    settings.options.checkFuse = params.CKFuse != 0;
    settings.options.checkInstrument = params.CKInstrument != 0;
    settings.options.writeLk = params.DownLK != 0;
    settings.options.writeSystem = params.DownSystem != 0;
    settings.options.writeUserdata = params.DownUserdata != 0;
    settings.reporter = std::make_shared<const Reporter>(params);
    return settings;
}

} // namespace marlow

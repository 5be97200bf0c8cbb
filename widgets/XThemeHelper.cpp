#include "widgets/XThemeHelper.h"

const CXThemeHelper& CXThemeHelper::Instance()
{
    static const CXThemeHelper helper;
    return helper;
}

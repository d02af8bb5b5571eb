#include "playback/monitor_identity_win32.h"

#include <vector>

namespace tidewell {
namespace {

// The display target behind GDI device `gdiName`: the first active path whose source it is (a
// mirrored source has several; its first monitor stands for them).
bool ReadTarget(const wchar_t* gdiName, DISPLAYCONFIG_TARGET_DEVICE_NAME& target) {
    std::vector<DISPLAYCONFIG_PATH_INFO> paths;
    std::vector<DISPLAYCONFIG_MODE_INFO> modes;
    LONG result = ERROR_INSUFFICIENT_BUFFER;
    // The configuration may change between the two calls: asked again while it grows.
    for (int tries = 0; tries < 3 && result == ERROR_INSUFFICIENT_BUFFER; ++tries) {
        UINT32 pathCount = 0, modeCount = 0;
        if (::GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) !=
            ERROR_SUCCESS) {
            return false;
        }
        paths.resize(pathCount);
        modes.resize(modeCount);
        result = ::QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount,
                                      modes.data(), nullptr);
        paths.resize(pathCount);
    }
    if (result != ERROR_SUCCESS) return false;
    for (const DISPLAYCONFIG_PATH_INFO& path : paths) {
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source{};
        source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
        source.header.size = sizeof(source);
        source.header.adapterId = path.sourceInfo.adapterId;
        source.header.id = path.sourceInfo.id;
        if (::DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS ||
            ::lstrcmpiW(source.viewGdiDeviceName, gdiName) != 0) {
            continue;
        }
        target = {};
        target.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_NAME;
        target.header.size = sizeof(target);
        target.header.adapterId = path.targetInfo.adapterId;
        target.header.id = path.targetInfo.id;
        return ::DisplayConfigGetDeviceInfo(&target.header) == ERROR_SUCCESS;
    }
    return false;
}

// Windows' own word for a monitor without a name of its own ("Generic PnP Monitor").
std::wstring MonitorDeviceString(const wchar_t* gdiName) {
    DISPLAY_DEVICEW device{};
    device.cb = sizeof(device);
    return ::EnumDisplayDevicesW(gdiName, 0, &device, 0) ? device.DeviceString : L"";
}

}  // namespace

MonitorIdentity ReadMonitorIdentity(HMONITOR monitor) {
    MonitorIdentity identity;
    MONITORINFOEXW info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info)) return identity;
    identity.gdiName = info.szDevice;
    identity.left = info.rcMonitor.left;
    identity.top = info.rcMonitor.top;
    DISPLAYCONFIG_TARGET_DEVICE_NAME target{};
    if (ReadTarget(info.szDevice, target)) {
        identity.devicePath = target.monitorDevicePath;
        identity.name = target.monitorFriendlyDeviceName;
        if (target.flags.edidIdsValid) {
            identity.maker = target.edidManufactureId;
            identity.product = target.edidProductCodeId;
        }
    }
    if (identity.name.empty()) identity.name = MonitorDeviceString(info.szDevice);
    return identity;
}

}  // namespace tidewell

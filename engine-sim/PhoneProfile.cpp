#include "engine-sim/PhoneProfile.h"

#include "engine-sim/Crc32.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace marlow {

namespace {

constexpr std::string_view kModel = "model";
constexpr std::string_view kSerial = "serial";
constexpr std::string_view kCid = "emmc_cid";
constexpr std::string_view kFuse = "fuse";
constexpr std::string_view kInstrument = "instrument";
constexpr std::string_view kUsb = "usb";
constexpr std::string_view kSpeed = "speed";
constexpr std::string_view kFailAt = "fail_at";

std::optional<uint64_t> number(std::string_view text)
{
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

Result<bool> choice(const IniFile& ini, std::string_view key, std::string_view yes, std::string_view no)
{
    const std::string value = ini.value(key).value_or(std::string(yes));
    if (value != yes && value != no)
        return Result<bool>::failure(std::string(key) + " must be " + std::string(yes) + " or " + std::string(no));
    return value == yes;
}

} // namespace

Result<PhoneProfile> PhoneProfile::fromIni(const IniFile& ini)
{
    using Profile = Result<PhoneProfile>;
    if (const auto unknown = ini.unknownKey({kModel, kSerial, kCid, kFuse, kInstrument, kUsb, kSpeed, kFailAt}))
        return Profile::failure("unknown key " + *unknown);
    PhoneProfile phone;
    phone.model = ini.value(kModel).value_or("");
    phone.serial = ini.value(kSerial).value_or("");
    phone.emmcCid = ini.value(kCid).value_or("");
    phone.usbAddress = ini.value(kUsb).value_or("");
    const Result<bool> fuse = choice(ini, kFuse, "blown", "open");
    if (!fuse)
        return Profile::failure(fuse.error());
    phone.fuseBlown = *fuse;
    const Result<bool> instrument = choice(ini, kInstrument, "pass", "fail");
    if (!instrument)
        return Profile::failure(instrument.error());
    phone.instrumentPassed = *instrument;
    if (const auto speed = ini.value(kSpeed)) {
        const auto value = number(*speed);
        if (!value)
            return Profile::failure("speed must be a whole number of bytes per second");
        phone.bytesPerSecond = *value;
    }
    if (const auto failAt = ini.value(kFailAt); failAt && !failAt->empty()) {
        const auto value = number(*failAt);
        if (!value || *value > 99)
            return Profile::failure("fail_at must be a percentage from 0 to 99");
        phone.failAtPercent = int(*value);
    }
    return phone;
}

IniFile PhoneProfile::toIni() const
{
    IniFile ini;
    ini.set(std::string(kModel), model);
    ini.set(std::string(kSerial), serial);
    ini.set(std::string(kCid), emmcCid);
    ini.set(std::string(kFuse), fuseBlown ? "blown" : "open");
    ini.set(std::string(kInstrument), instrumentPassed ? "pass" : "fail");
    if (!usbAddress.empty())
        ini.set(std::string(kUsb), usbAddress);
    ini.set(std::string(kSpeed), std::to_string(bytesPerSecond));
    if (failAtPercent)
        ini.set(std::string(kFailAt), std::to_string(*failAtPercent));
    return ini;
}

bool PhoneProfile::cidIsSound() const
{
    const bool hex = std::all_of(emmcCid.begin(), emmcCid.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
    const bool blank = std::all_of(emmcCid.begin(), emmcCid.end(), [](char c) { return c == '0'; });
    return emmcCid.size() == 32 && hex && !blank;
}

std::string PhoneProfile::usbAddressOr(int cell) const
{
    return usbAddress.empty() ? "bay/cell" + std::to_string(cell) : usbAddress;
}

std::string PhoneProfile::cidFor(const std::string& serial)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(serial.data());
    const uint32_t crc = Crc32::of(std::span(bytes, serial.size()));
    char cid[33];
    std::snprintf(cid, sizeof cid, "150100%08X4D4D43%08X%04X", crc, ~crc, unsigned(serial.size() & 0xFFFF));
    return cid;
}

} // namespace marlow

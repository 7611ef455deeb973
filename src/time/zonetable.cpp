#include "time/zonetable.h"

namespace ovra {

namespace {
// Fixed offsets only: daylight saving is each clock's own switch, not a rule here.
constexpr ZoneEntry kZones[kZoneCount] = {
    {u"(UTC-12:00) International Date Line West", -720},
    {u"(UTC-11:00) Coordinated Universal Time-11", -660},
    {u"(UTC-11:00) Samoa", -660},
    {u"(UTC-10:00) Hawaii", -600},
    {u"(UTC-09:00) Alaska", -540},
    {u"(UTC-08:00) Baja California", -480},
    {u"(UTC-08:00) Pacific Time(US & Canada)", -480},
    {u"(UTC-07:00) Arizona", -420},
    {u"(UTC-07:00) Chihuahua, La Paz, Mazatlan", -420},
    {u"(UTC-07:00) Mountain Time (US & Canada)", -420},
    {u"(UTC-06:00) Central America", -360},
    {u"(UTC-06:00) Central Time (US & Canada)", -360},
    {u"(UTC-06:00) Guadalajara, Mexico City, Mouterrey", -360},
    {u"(UTC-06:00) Saskatchewan", -360},
    {u"(UTC-05:00) Bogota, Lima, Quito", -300},
    {u"(UTC-05:00) Eastern Time (US & Canada)", -300},
    {u"(UTC-05:00) Indiana (East)", -300},
    {u"(UTC-04:30) Caracas", -270},
    {u"(UTC-04:00) Asuncion", -240},
    {u"(UTC-04:00) Atlantic Time (Canada)", -240},
    {u"(UTC-04:00) Cuiaba", -240},
    {u"(UTC-04:00) Georgetown, La Paz, Manaus, San Juan", -240},
    {u"(UTC-04:00) Santiago", -240},
    {u"(UTC-03:30) Newfoundland", -210},
    {u"(UTC-03:00) Brasilia", -180},
    {u"(UTC-03:00) Buenos Aires", -180},
    {u"(UTC-03:00) Cayenne, Fortaleza", -180},
    {u"(UTC-03:00) Greenland", -180},
    {u"(UTC-03:00) Montevideo", -180},
    {u"(UTC-02:00) Coordinated Universal Time-02", -120},
    {u"(UTC-02:00) Mid-Atlantic", -120},
    {u"(UTC-01:00) Azores", -60},
    {u"(UTC-01:00) Cape Verde Is.", -60},
    {u"(UTC) Casablanca", 0},
    {u"(UTC) Coordinated Universal Time", 0},
    {u"(UTC) Dublin, Edinburgh, Lisbon, London", 0},
    {u"(UTC) Monrovia, Reykjavik", 0},
    {u"(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna", 60},
    {u"(UTC+01:00) Brussels, Copenhagen, Madrid, Paris", 60},
    {u"(UTC+01:00) Sarajevo, Skopje, Warsaw, Zagreb", 60},
    {u"(UTC+01:00) Western Central Africa", 60},
    {u"(UTC+01:00) Windhoek", 60},
    {u"(UTC+02:00) Amman", 120},
    {u"(UTC+02:00) Athens, Bucharest", 120},
    {u"(UTC+02:00) Beirut", 120},
    {u"(UTC+02:00) Cairo", 120},
    {u"(UTC+02:00) Damascus", 120},
    {u"(UTC+02:00) Harare, Pretoria", 120},
    {u"(UTC+02:00) Helsinki, Kyiv, Riga, Sofia, Tallinn, Vilnius", 120},
    {u"(UTC+02:00) Istanbul", 120},
    {u"(UTC+02:00) Jerusalem", 120},
    {u"(UTC+02:00) Minsk", 120},
    {u"(UTC+03:00) Baghdad", 180},
    {u"(UTC+03:00) Kaliningrad", 180},
    {u"(UTC+03:00) Kuwait, Riyadh", 180},
    {u"(UTC+03:00) Nairobi", 180},
    {u"(UTC+03:30) Tehran", 210},
    {u"(UTC+04:00) Abu Dhabi, Muscat", 240},
    {u"(UTC+04:00) Baku", 240},
    {u"(UTC+04:00) Moscow, St. Petersburg, Volgograd", 240},
    {u"(UTC+04:00) Port Louis", 240},
    {u"(UTC+04:00) Yerevan", 240},
    {u"(UTC+04:30) Kabul", 270},
    {u"(UTC+05:00) Islamabad, Karachi", 300},
    {u"(UTC+05:00) Tashkent", 300},
    {u"(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", 330},
    {u"(UTC+05:30) Sri Jayawardenepura", 330},
    {u"(UTC+05:45) Kathmandu", 345},
    {u"(UTC+06:00) Astana", 360},
    {u"(UTC+06:00) Dhaka", 360},
    {u"(UTC+06:00) Ekaterinburg", 360},
    {u"(UTC+06:30) Yangon (Rangoon)", 390},
    {u"(UTC+07:00) Bangkok, Honoi, Jakarta", 420},
    {u"(UTC+07:00) Novosibirsk", 420},
    {u"(UTC+08:00) Beijing, Chongqing, Hong Kong, Urumqi", 480},
    {u"(UTC+08:00) Krasnoyarsk", 480},
    {u"(UTC+08:00) Kuala Lumpur, Singapore", 480},
    {u"(UTC+08:00) Perth", 480},
    {u"(UTC+08:00) Taipei", 480},
    {u"(UTC+08:00) Ulaanbaatar", 480},
    {u"(UTC+09:00) Irkutsk", 540},
    {u"(UTC+09:00) Osaka, Sapporo, Tokyo", 540},
    {u"(UTC+09:00) Seoul", 540},
    {u"(UTC+09:30) Adelaide", 570},
    {u"(UTC+09:30) Darwin", 570},
    {u"(UTC+10:00) Brisbane", 600},
    {u"(UTC+10:00) Canberra, Melbourne, Sydney", 600},
    {u"(UTC+10:00) Guam, Port Moresby", 600},
    {u"(UTC+10:00) Hobart", 600},
    {u"(UTC+10:00) Yakutsk", 600},
    {u"(UTC+11:00) Solomon Is., New Caledonia", 660},
    {u"(UTC+11:00) Vladivostok", 660},
    {u"(UTC+12:00) Auckland, Wellington", 720},
    {u"(UTC+12:00) Coordinated Universal Time+12", 720},
    {u"(UTC+12:00) Fiji", 720},
    {u"(UTC+12:00) Magadan", 720},
    {u"(UTC+13:00) Nuku'alofa", 780},
};
} // namespace

std::span<const ZoneEntry> zoneTable() {
    return kZones;
}

const ZoneEntry* zoneAt(int index) {
    if (index < 0 || index >= kZoneCount)
        return nullptr;
    return &kZones[index];
}

int zoneIndexForOffset(int32_t offsetMinutes) {
    for (int i = 0; i < kZoneCount; ++i)
        if (kZones[i].OffsetMinutes == offsetMinutes)
            return i;
    return -1;
}

} // namespace ovra

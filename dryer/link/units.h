// The dryer's units: temperatures are kept in whole degrees Fahrenheit everywhere, and the
// heater count as the board's code.
#pragma once

// Temperatures are whole degrees Fahrenheit; Celsius is only a display form, truncated toward
// zero, used while siUnitsBit is set.
constexpr int FahrenheitToCelsius(int fahrenheit)
{
    return (fahrenheit - 32) * 5 / 9;
}
// The number a screen shows for a temperature in the panel's current units.
constexpr int DisplayTemperature(int fahrenheit, bool si)
{
    return si ? FahrenheitToCelsius(fahrenheit) : fahrenheit;
}
// Number of fan/heaters for a heaterCountCode (0 one ... 3 four, 4 six); unknown codes: 1.
constexpr int HeaterCountFromCode(int code)
{
    return code >= 0 && code <= 3 ? code + 1 : (code == 4 ? 6 : 1);
}

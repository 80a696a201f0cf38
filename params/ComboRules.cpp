#include "params/ComboRules.h"

namespace {

// clang-format off
constexpr CodeItem kProtocolItems[] = {
    {"PROT", 0}, {"DCUDP", 1}, {"DCTCP", 2}, {"TRNS", 3}, {"SMSCLI", 4}, {"SMSSER", 5},
    {"CUST", 6}, {"-1", -1},
};
constexpr CodeItem kDeviceModelItems[] = {{"CLI", 0}, {"SVR", 1}, {"-1", -1}};
constexpr CodeItem kActivateItems[] = {
    {"AUTO", 0}, {"SMSD", 1}, {"CTRL", 2}, {"DATA", 3}, {"MIXD", 4}, {"DIO", 5}, {"-1", -1},
};
constexpr NumberItem kExfunNumbers[] = {{0, 0}, {3, 1}};
constexpr NumberItem kBindingNumbers[] = {
    {0, 0}, {1, 1}, {2, 2}, {4, 3}, {8, 4}, {16, 5}, {255, 6},
};
constexpr NumberItem kDio3Numbers[] = {{4, 0}, {5, 0}, {6, 1}};
constexpr NumberItem kDio12Numbers[] = {{4, 0}, {5, 0}, {6, 4}};
constexpr NumberItem kIoModeNumbers[] = {{4, 1}, {5, 2}};

constexpr std::string_view kActivateWords[] = {"AUTO", "SMSD", "CTRL", "DATA", "MIXD", "DIO"};
constexpr std::string_view kDeviceModelWords[] = {"CLI", "SVR"};
constexpr std::string_view kIoChannels[] = {"DIO1 workmode", "DIO2 workmode", "DIO3 workmode"};
constexpr std::string_view kDio1[] = {"DIO1 workmode"};
constexpr std::string_view kDio2[] = {"DIO2 workmode"};
constexpr std::string_view kDio3[] = {"DIO3 workmode"};

constexpr ComboRule kComboRules[] = {
    // list                          read                                         write
    {"Protocolmodel",                   {ReadRule::TextThenCodes, kProtocolItems},   {WriteRule::ProtocolText}},
    {"EXFUN",                           {ReadRule::Numbers, {}, kExfunNumbers},      {WriteRule::Exfun}},
    {"net mode",                        {ReadRule::NetMode},                         {WriteRule::NetMode}},
    {"DeviceModel",                     {ReadRule::Codes, kDeviceModelItems},
                                        {WriteRule::IndexCodes, kDeviceModelWords, "-1"}},
    {"DIO1 interface",                  {ReadRule::ByText},                          {WriteRule::Text}},
    {"DIO2 interface",                  {ReadRule::ByText},                          {WriteRule::Text}},
    {"DIO3 interface",                  {ReadRule::ByText},                          {WriteRule::Text}},
    {"Transferprotocol",                {ReadRule::ByText},                          {WriteRule::Text}},
    {"Dtumanagetransferprotocol",       {ReadRule::ByText},                          {WriteRule::Text}},
    {"Serial Baudrate",                 {ReadRule::ByText},                          {WriteRule::Text}},
    {"Serial 2 Baudrate",               {ReadRule::ByText},                          {WriteRule::Text}},
    {"RS485 Baudrate",                  {ReadRule::ByText},                          {WriteRule::Text}},
    {"Serial port commu mode",          {ReadRule::ByText},                          {WriteRule::Text}},
    {"Serial 2 port commu mode",        {ReadRule::ByText},                          {WriteRule::Text}},
    {"RS485 port commu mode",           {ReadRule::ByText},                          {WriteRule::Text}},
    {"The PPP authentication",          {ReadRule::ByText},                          {WriteRule::Text}},
    {"LORA Mode",                       {ReadRule::ByText},                          {WriteRule::NonEmptyText}},
    {"LORA ppt",                        {ReadRule::ByText},                          {WriteRule::NonEmptyText}},
    {"LORA typ",                        {ReadRule::NonEmptyNumberMinus1},            {WriteRule::IndexPlus1Always}},
    {"ActivateMethod",                  {ReadRule::Codes, kActivateItems},
                                        {WriteRule::IndexCodes, kActivateWords, ""}},
    {"A serial port binding center",    {ReadRule::Numbers, {}, kBindingNumbers},    {WriteRule::BindingCentre}},
    {"A serial 2 port binding center",  {ReadRule::Numbers, {}, kBindingNumbers},    {WriteRule::BindingCentre}},
    {"RS485 port binding center",       {ReadRule::Numbers, {}, kBindingNumbers},    {WriteRule::BindingCentre}},
    {"DIO3 workmode",                   {ReadRule::Numbers, {}, kDio3Numbers, Otherwise::FirstItem},
                                        {WriteRule::WorkModeLabel}},
    {"DIO1 workmode",                   {ReadRule::Numbers, {}, kDio12Numbers, Otherwise::SameItem},
                                        {WriteRule::WorkModeLabel}},
    {"DIO2 workmode",                   {ReadRule::Numbers, {}, kDio12Numbers, Otherwise::SameItem},
                                        {WriteRule::WorkModeLabel}},
    {"ZigBee_RFchannel",                {ReadRule::NumberMinus11},                   {WriteRule::NonEmptyText}},
    {"ActivationInterface",             {ReadRule::NumberMinus1},                    {WriteRule::IndexPlus1}},
    {"Debugging  port",                 {ReadRule::NumberMinus1},                    {WriteRule::IndexPlus1}},
    {"LORA Rate",                       {ReadRule::NumberMinus1},                    {WriteRule::NonEmptyText}},
    {"I/O selection",                   {ReadRule::IoSelection},
                                        {WriteRule::IoSelection, {}, {}, kIoChannels}},
    {"I/O1 Mode",                       {ReadRule::Numbers, {}, kIoModeNumbers, Otherwise::FirstItem},
                                        {WriteRule::IoMode}},
    {"I/O2 Mode",                       {ReadRule::Numbers, {}, kIoModeNumbers, Otherwise::FirstItem},
                                        {WriteRule::IoMode}},
    {"I/O1 control",                    {ReadRule::Number},
                                        {WriteRule::IoControl, {}, {}, kDio1}},
    {"I/O2 control",                    {ReadRule::Number},
                                        {WriteRule::IoControl, {}, {}, kDio2}},
    {"I/O3 control",                    {ReadRule::Number},
                                        {WriteRule::IoControl, {}, {}, kDio3}},
};
// clang-format on

}  // namespace

const ComboRule* FindComboRule(std::string_view name) {
    for (const ComboRule& row : kComboRules) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

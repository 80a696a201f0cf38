"""The eleven form pages. Control names are the unit's parameter names, letter for letter.

Initial visibility and group-box heights follow the default selections, so the form looks as
the layout rules would leave it before a unit has been read. Item lists follow the reading and
writing rules: positions are fixed, and lists read and written by text hold the unit's own
words as item texts, the same in both languages.
"""

from texts import PROTOCOL_CUSTOM, SERVER_LABEL1, SERVER_TITLE1, DIO_WORKMODE
from xmlgen import (CAPTION_W, FIELD_W, PAIR_PAD, box, button, caption, combo, edit, hbox, page,
                    pair, row, rows, spacer)

NO_YES = [("No", "否"), ("Yes", "是")]
OFF_ON = [("Off", "关闭"), ("On", "开启")]
TEXT_HEX = [("Text", "文本"), ("Hex", "十六进制")]
BAUDS = ["1200", "2400", "4800", "9600", "14400", "19200", "38400", "57600", "115200",
         "230400"]
FRAMES = ["8N1", "8E1", "8O1", "8N2", "7E1", "7O1", "7N2"]
BINDING = [("None", "无"), ("Center 1", "中心1"), ("Center 2", "中心2"), ("Center 3", "中心3"),
           ("Center 4", "中心4"), ("Center 5", "中心5"), ("All", "全部")]
PORTS_FROM_1 = [("Serial 1", "串口1"), ("Serial 2", "串口2"), ("RS485", "RS485")]
# Mapping centres 0..5; 6 leaves the channel free. The I/O control lists keep "None" in both
# languages: the I/O tab rule compares that text.
CENTRES = [(f"Center {i}", f"中心{i}") for i in range(1, 7)]
IO_CONTROL = CENTRES + ["None"]
DIO_MAPPING = CENTRES + [("None", "无")]
# Interface words of the unit; "SMS" is item 3, the one that shows the SMS number row.
DIO_INTERFACES = ["GPRS", "COM", "RS485", "SMS"]


def field(name, text, cw=CAPTION_W, width=FIELD_W, layout=None, visible=True, **kw):
    """A caption and an edit; `layout` names the pair when a rule shows and hides it alone."""
    return pair(text, edit(name, width, **kw), cw, name=layout, visible=visible)


def choice(name, text, items, selected=0, cw=CAPTION_W, width=FIELD_W, layout=None,
           visible=True):
    """A caption and a drop-down list."""
    return pair(text, combo(name, items, selected, width), cw, name=layout, visible=visible)


def switch(name, text):
    """A transfer-channel switch: its image name carries its state. Padded to the width of a
    field pair so the switches line up with the fields above them."""
    toggle = button(name, None, width=52, bkimage="switch_disable.png",
                    style="QPushButton { border: none; background: transparent; }")
    p = pair(text, toggle)
    p.children.append(spacer(width=FIELD_W - toggle.width() - PAIR_PAD))
    p.set("width", str(CAPTION_W + PAIR_PAD + FIELD_W))
    return p


def channel_title():
    title = caption(("Data transfer channels", "数据传输通道"), width=300)
    title.set("style", "font-weight: bold; color: #1f4e79;")
    return row(title)


# --- 0 Work mode ---------------------------------------------------------------------------

def work_tab():
    protocol = ["PROT", "DCUDP", "DCTCP", "TRNS", "SMSCLI", "SMSSER", PROTOCOL_CUSTOM]
    mode = box(("Work mode", "工作模式"), name="ModeGroupBox", children=[
        row(choice("Protocolmodel", ("Work mode", "工作模式"), protocol, 2),
            hbox("ModeHorizontalLayout3", [caption(
                ("Custom protocol: set the device model and the packets below.",
                 "自定义协议：请在下方设置设备模式和注册/心跳包。"), width=440)],
                visible=False)),
        row(field("Modem'sID number", ("Modem ID", "设备ID"),
                  layout="ModeHorizontalLayout1.1", visible=False),
            field("PhoneNO.", ("Phone number", "手机号码")),
            name="ModeHorizontalLayout1"),
        row(choice("Deliver Recved Tcp Data Directly",
                   ("Direct TCP delivery", "TCP数据直接转发"), NO_YES),
            name="ModeHorizontalLayout1.2", visible=False),
        row(choice("DeviceModel", ("Device model", "设备模式"), ["CLI", "SVR"]),
            choice("Transferprotocol", ("Transfer protocol", "传输协议"), ["TCP", "UDP"]),
            name="ModeHorizontalLayout2", visible=False),
        row(choice("RegistrationAndHeart", ("Registration / heartbeat", "注册包和心跳包"),
                   [("Off", "关闭"), ("Custom packets", "自定义注册包和心跳包"),
                    ("Standard packets", "标准注册包和心跳包"), ("Heartbeat only", "仅心跳包")],
                   width=200),
            name="ModeHorizontalLayout4", visible=False),
        row(field("ListenPort", ("Listen port", "监听端口")),
            name="ModeHorizontalLayout5", visible=False),
        row(caption(("The heartbeat period is set on the Global page.",
                     "心跳周期在“全局参数”页设置。"), width=440),
            name="ModeHorizontalLayout6", visible=False),
        row(choice("RegisterIsHex", ("Packets are", "注册/心跳包格式"), TEXT_HEX),
            name="ModeHorizontalLayout7", visible=False),
        rows(row(field("RegisterInfo", ("Register packet", "注册包"), width=280),
                 field("RegistrationReplyInfo", ("Register reply", "注册应答包"), width=280)),
             row(field("HeartbeatPacket", ("Heartbeat packet", "心跳包"), width=280),
                 field("HeartbeatPacketReplyInfo", ("Heartbeat reply", "心跳应答包"),
                       width=280)),
             name="ModeHorizontalLayout8", visible=False),
        rows(*[row(field(f"sms Phone{i} No", (f"SMS phone {i}", f"短信号码{i}")))
               for i in range(1, 5)],
             name="ModeLayout1.1", visible=False),
        row(choice("Show Phone NO", ("Show sender number", "显示来电号码"), NO_YES),
            choice("Encode Hex SMS", ("Hex-encoded SMS", "短信十六进制编码"), NO_YES),
            name="ModeLayout1.2", visible=False),
    ])

    methods = [("AUTO (always online)", "AUTO（永久在线）"),
               ("SMSD (SMS activation)", "SMSD（短信激活）"),
               ("CTRL (call activation)", "CTRL（电话激活）"),
               ("DATA (serial data activation)", "DATA（串口数据激活）"),
               ("MIXD (mixed activation)", "MIXD（混合激活）"),
               ("DIO (I/O activation)", "DIO（I/O激活）")]
    io_modes = [("Off", "不使用"), ("Level trigger", "电平触发"), ("Centre mapping", "中心映射")]
    activate = box(("Activation", "激活方式"), name="ActivateGroupBox", children=[
        row(choice("ActivateMethod", ("Activation method", "激活方式"), methods, width=230)),
        row(field("ActivationPhoneNO.", ("Control phone", "控制电话号码"),
                  layout="ActivateHorizontalLayout7", visible=False),
            field("SMSActivationNO.", ("SMS activation number", "短信激活号码"),
                  layout="ActivateHorizontalLayout8", visible=False),
            hbox("ActivateHorizontalLayout1.2", [caption(
                ("Only these numbers wake the unit.", "仅这些号码可以激活设备。"), width=240)]),
            name="ActivateHorizontalLayout1", visible=False),
        row(field("On-line data", ("Online password", "上线数据")),
            field("Offline data", ("Offline password", "下线数据")),
            name="ActivateHorizontalLayout2", visible=False),
        row(choice("ActivationInterface", ("Activation port", "激活串口"), PORTS_FROM_1),
            choice("DataFormat", ("Data format", "数据格式"), TEXT_HEX),
            name="ActivateHorizontalLayout3", visible=False),
        row(choice("IOactivationmethods", ("I/O activation", "I/O激活方式"),
                   [("Level trigger (I/O selection)", "电平触发（I/O选择）"),
                    ("Centre mapping (I/O control)", "中心映射（I/O控制）")], width=230),
            name="ActivateHorizontalLayout4", visible=False),
        row(choice("I/O selection", ("Activation input", "激活输入口"), ["DIO1", "DIO2", "DIO3"]),
            name="ActivateHorizontalLayout5", visible=False),
        row(choice("I/O1 control", ("I/O1 control", "I/O1 控制"), IO_CONTROL, 6),
            choice("I/O2 control", ("I/O2 control", "I/O2 控制"), IO_CONTROL, 6),
            name="ActivateHorizontalLayout6", visible=False),
        row(choice("I/O3 control", ("I/O3 control", "I/O3 控制"), IO_CONTROL, 6,
                   layout="ActivateHorizontalLayout6.1.1", visible=False),
            field("Sms Daemon Password", ("SMS daemon password", "短信守护密码"),
                  layout="ActivateHorizontalLayout6.1.2", visible=False),
            name="ActivateHorizontalLayout6.1", visible=False),
        row(choice("I/O1 Mode", ("I/O1 mode", "I/O1 模式"), io_modes),
            choice("I/O2 Mode", ("I/O2 mode", "I/O2 模式"), io_modes),
            name="ActivateHorizontalLayout9", visible=False),
    ])

    debug = box(("Debug output", "调试输出"), children=[
        row(choice("Debug Level", ("Debug level", "调试等级"),
                   [("Off", "关闭"), ("Errors", "错误"), ("Information", "信息"),
                    ("Everything", "详细")]),
            choice("Debugging  port", ("Debug output port", "调试输出口"), PORTS_FROM_1,
                   layout="DebugHorizontalLayout1", visible=False)),
    ])
    return page([mode, activate, debug])


# --- 1 Servers -----------------------------------------------------------------------------

def server_row(index, ip, port, ip_text, port_text, visible):
    return row(field(ip, ip_text), field(port, port_text),
               name=f"ServiceHorizontalLayout{index}", visible=visible)


def service_centre():
    # The first server's captions are texts of their own: the server-count rule renames them.
    first = row(
        pair_named_caption("ServerTitle", SERVER_TITLE1, edit("Server's Ip")),
        pair_named_caption("Server's Label", SERVER_LABEL1, edit("Server's Port")),
        name="ServiceHorizontalLayout0")
    servers = box(("Servers", "服务器"), name="ServiceGroupBox", children=[
        row(choice("ThePPPauthentication", ("Number of servers", "服务器数量"),
                   ["0", "1", "2", "3", "4", "5"], 1)),
        first,
        server_row(1, "Secondary Server's Ip", "Secondary Server's Port",
                   ("Backup server IP", "备用服务器IP"), ("Backup server port", "备用服务器端口"),
                   True),
    ] + [server_row(i, f"Server{i}'s Ip", f"Server{i}'s Port", (f"Server {i} IP", f"服务器{i} IP"),
                    (f"Server {i} port", f"服务器{i}端口"), False) for i in range(2, 6)])
    retry = box(("Reconnection", "重连设置"), name="ServiceGroupBox2", children=[
        row(field("Wait Time Between Dial Failures",
                  ("Reconnect wait (s)", "连接失败等待时间(秒)"))),
        row(field("Link Fail Retry Times", ("Link retries", "连接重试次数"))),
        row(choice("Should Return To Main Server", ("Return to main server", "回切主服务器"),
                   NO_YES, 1),
            name="ServiceHorizontalLayout6"),
    ])
    return page([servers, retry])


def pair_named_caption(caption_name, text, field_element):
    """A pair whose caption is a named text."""
    p = pair(text, field_element)
    p.children[0] = caption(text, name=caption_name)
    return p


# --- 2 Serial ports ------------------------------------------------------------------------

def serial_box(box_name, title, baud, mode, binding, binding_box):
    return box(title, name=box_name, children=[
        row(choice(baud, ("Baud rate", "波特率"), BAUDS, 8)),
        row(choice(mode, ("Data format", "数据格式"), FRAMES, 0)),
        row(choice(binding, ("Bound to centre", "绑定中心"), BINDING, 1), name=binding_box),
    ])


def serial_port():
    return page([
        serial_box("serialGroupbox", ("Serial port 1", "串口1"), "Serial Baudrate",
                   "Serial port commu mode", "A serial port binding center",
                   "bindingCenterGroupBox"),
        serial_box("serial2Groupbox", ("Serial port 2", "串口2"), "Serial 2 Baudrate",
                   "Serial 2 port commu mode", "A serial 2 port binding center",
                   "bindingCenterGroupBox2"),
        serial_box("serial3Groupbox", ("RS485 port", "RS485口"), "RS485 Baudrate",
                   "RS485 port commu mode", "RS485 port binding center",
                   "bindingCenterGroupBox3"),
    ])


# --- 3 Digital I/O -------------------------------------------------------------------------

def dio_box(n):
    L = f"IOLayout{n}."
    d = f"DIO{n}"
    data_format = {1: "1The DIO1 data format", 2: "The DIO2 data format",
                   3: "1The DIO3 data format"}[n]
    # Channel 3 offers the off and analogue modes only (its reading rule knows no others).
    modes = DIO_WORKMODE if n != 3 else [DIO_WORKMODE[0], DIO_WORKMODE[4]]
    return box((f"DIO{n}", f"DIO{n}"), name=f"IO{n}GroupBox", children=[
        row(choice(f"{d} workmode", ("Work mode", "工作模式"), modes, 0, cw=100, width=170)),
        row(choice(f"{d} protocol", ("Protocol", "协议"), [("Modbus", "Modbus"),
                                                            ("Custom", "自定义")],
                   cw=100, layout=L + "1"),
            choice(f"{d} interface", ("Interface", "接口"), DIO_INTERFACES, cw=100),
            field(f"{d} SMS number", ("SMS number", "短信号码"), cw=100,
                  layout=L + "2.1", visible=False),
            name=L + "2", visible=False),
        row(choice(f"{d} reported methods", ("Report method", "上报方式"),
                   [("On query", "查询上报"), ("Active report", "主动上报")], cw=100),
            field(f"{d} reported times", ("Report times", "上报次数"), cw=100,
                  layout=L + "3.1", visible=False),
            field(f"{d} query command", ("Query command", "查询命令"), cw=100,
                  layout=L + "3.2"),
            name=L + "3", visible=False),
        row(choice(data_format, ("Data format", "数据格式"), TEXT_HEX, cw=100,
                   layout=L + "4.1", visible=False),
            field(f"{d} output control result", ("Output reply", "输出控制应答"), cw=100,
                  width=200, layout=L + "4.2", visible=False),
            name=L + "4", visible=False),
        row(field(f"{d} high level information", ("High level text", "高电平信息"), cw=100,
                  width=200),
            field(f"{d} low level information", ("Low level text", "低电平信息"), cw=100,
                  width=200),
            name=L + "5", visible=False),
        row(choice(f"{d} and mapping center", ("Mapping centre", "映射中心"), DIO_MAPPING, 6,
                   cw=100),
            name=L + "6", visible=False),
        row(field(f"{d} upper threshold", ("Upper threshold", "上限阈值"), cw=100),
            field(f"{d} lower threshold", ("Lower threshold", "下限阈值"), cw=100),
            name=L + "7", visible=False),
    ])


def io_page():
    modbus = box(("Modbus", "Modbus"), children=[
        row(field("Mobus address", ("Modbus address", "Modbus地址"))),
    ])
    return page([dio_box(1), dio_box(2), dio_box(3), modbus])


# --- 4 Wireless ----------------------------------------------------------------------------

def wireless():
    # net mode: item 0 is the value 0, item i the value i + 3.
    net_modes = [("Automatic", "自动"), ("2G only", "仅2G"), ("3G only", "仅3G"),
                 ("4G only", "仅4G"), ("4G / 3G", "4G/3G"), ("4G / 2G", "4G/2G"),
                 ("3G / 2G", "3G/2G")]
    dial = box(("Dial-up (PPP)", "拨号（PPP）"), children=[
        row(field("Center call number", ("Dial number", "拨号号码")),
            field("Access Point Name", ("APN", "接入点(APN)"), width=200)),
        row(field("User Id", ("User name", "用户名")),
            field("Password", ("Password", "密码"))),
        row(choice("The PPP authentication", ("Authentication", "认证方式"),
                   ["NONE", "PAP", "CHAP"], 1)),
        row(field("PPP Wait Time Between Dial Failures",
                  ("Redial wait (s)", "拨号失败等待(秒)")),
            field("PPP Link Fail Retry Times", ("Dial retries", "拨号重试次数"))),
    ])
    network = box(("Network", "网络"), children=[
        row(choice("net mode", ("Network mode", "网络模式"), net_modes),
            field("FINDNETMODE", ("Current network", "当前网络"), readonly=True,
                  tooltip=("Click into the field to ask the unit (logged in only).",
                           "点击此框向设备查询（需已登录）。"))),
        row(field("Dns Server's Ip", ("DNS server", "DNS服务器")),
            field("Second Dns Server's Ip", ("Second DNS server", "备用DNS服务器"))),
    ])
    return page([dial, network])


# --- 5 Global ------------------------------------------------------------------------------

def global_parameter():
    lcp = box(("LCP echo", "LCP回显检测"), name="PPPGroupBox", children=[
        row(choice("LCP ECHO", ("LCP echo", "LCP回显检测"), OFF_ON, 1)),
        row(field("Lcp echo interval", ("Interval (s)", "检测间隔(秒)")),
            field("Lcp echo testing number", ("Attempts", "检测次数")),
            name="GlobalHorizontalLayout1"),
    ])
    # EXFUN: item 1 stands for the value 3 (ICMP check on).
    icmp = box(("ICMP check", "ICMP检测"), name="ICMPGroupBox", children=[
        row(choice("EXFUN", ("ICMP check", "ICMP检测"), OFF_ON, 0)),
        rows(row(field("ICMP Ip", ("ICMP address", "ICMP地址"), width=200)),
             row(field("ICMP interval", ("Interval (s)", "检测间隔(秒)")),
                 field("ICMP testing number", ("Attempts", "检测次数"))),
             name="GlobalHorizontalLayout2", visible=False),
    ])
    transfer = box(("Transfer", "数据传输"), children=[
        row(field("Sms Center", ("SMS centre", "短信中心号码")),
            field("Max Tcp Frame Len", ("Max TCP frame (bytes)", "TCP最大帧长(字节)"))),
        row(field("Send group package waiting for", ("Packing gap (ms)", "组包等待时间(毫秒)")),
            field("Heartbeat poll time seconds", ("Heartbeat period (s)", "心跳周期(秒)"))),
        row(field("Resend wating", ("Resend wait (ms)", "重发等待(毫秒)")),
            field("Maximum retransmission times", ("Max resends", "最大重发次数"))),
        row(choice("After a failed action", ("After a failure", "失败后动作"),
                   [("Redial", "重新拨号"), ("Restart the unit", "重启设备"),
                    ("Wait offline", "下线等待")]),
            field("Waiting for the failure", ("Failure wait (s)", "失败等待时间(秒)"))),
    ])
    return page([lcp, icmp, transfer])


# --- 6 Equipment management ----------------------------------------------------------------

def equipment_management():
    platform = box(("Management platform", "管理平台"), name="DtumanageGroupBox", children=[
        row(choice("dtu is connect to dtu manage platform",
                   ("Connect to platform", "连接管理平台"), NO_YES, 0)),
        rows(row(field("Dtu manage id", ("Device ID", "管理ID")),
                 choice("Dtumanagetransferprotocol", ("Transfer protocol", "传输协议"),
                        ["TCP", "UDP"])),
             row(field("dtu manage server's Ip", ("Platform IP", "平台IP")),
                 field("dtu manage server's Port", ("Platform port", "平台端口"))),
             name="EquimentLayout1", visible=False),
    ])
    sms = box(("SMS configuration", "短信配置"), name="DtumanageGroupBox1", children=[
        row(choice("DTU SMS configure fun", ("SMS configuration", "短信配置功能"), OFF_ON, 0)),
        rows(row(field("DTU SMS configure password", ("SMS password", "短信配置密码"))),
             row(field("DTU SMS administrator number", ("Administrator number", "管理员号码"))),
             name="EquimentLayout2", visible=False),
    ])
    return page([platform, sms])


# --- 7 LoRa --------------------------------------------------------------------------------

def lora_page():
    lora = box(("LoRa", "LoRa"), name="LoraGroupBox", children=[
        row(field("LORA ID", ("LoRa ID", "LoRa ID")),
            choice("LORA Rate", ("Air rate", "空中速率"), [str(i) for i in range(1, 11)], 2)),
        row(choice("LORA Mode", ("Mode", "工作模式"), ["TRNS", "FP", "BC"], 0),
            field("LORA pid", ("Network ID", "网络ID"), layout="LoraPID")),
        row(field("LORA TAddr", ("Target address", "目标地址")), name="LoraLayout"),
        row(field("LORA freq", ("Frequency (MHz)", "频率(MHz)")),
            field("LORA Power", ("Transmit power", "发射功率"), layout="LoraPower")),
        row(choice("LORA ppt", ("Point to point", "点对点"), ["0", "1"], 0),
            choice("LORA typ", ("Module type", "模块类型"),
                   [("Type 1", "类型1"), ("Type 2", "类型2"), ("Type 3", "类型3")], 0,
                   layout="LoraType", visible=False)),
        channel_title(),
        row(switch("Lora2COM", ("LoRa → serial", "LoRa → 串口")),
            switch("COM2Lora", ("Serial → LoRa", "串口 → LoRa"))),
        row(switch("Lora2GPRS", ("LoRa → network", "LoRa → 网络")),
            switch("GPRS2Lora", ("Network → LoRa", "网络 → LoRa"))),
    ])
    return page([lora])


# --- 8 ZigBee ------------------------------------------------------------------------------

def zigbee_page():
    zigbee = box(("ZigBee", "ZigBee"), children=[
        row(choice("ZigBee_WorkMode", ("Work mode", "工作模式"),
                   [("Transparent", "透明传输"), ("Addressed", "定点传输"),
                    ("Broadcast", "广播")]),
            choice("ZigBee_Type", ("Node type", "节点类型"),
                   [("Coordinator", "协调器"), ("Router", "路由器"), ("End device", "终端")])),
        row(choice("ZigBee_RFchannel", ("RF channel", "射频信道"),
                   [str(i) for i in range(11, 27)], 4),
            field("ZigBee_NetworkID", ("Network ID (hex)", "网络ID(十六进制)"))),
        row(field("ZigBee_TransAddr", ("Target address (hex)", "目标地址(十六进制)"))),
        channel_title(),
        row(switch("Zigbee2COM", ("ZigBee → serial", "ZigBee → 串口")),
            switch("COM2Zigbee", ("Serial → ZigBee", "串口 → ZigBee"))),
        row(switch("Zigbee2GPRS", ("ZigBee → network", "ZigBee → 网络")),
            switch("GPRS2Zigbee", ("Network → ZigBee", "网络 → ZigBee"))),
    ])
    return page([zigbee])


# --- 9 GPS ---------------------------------------------------------------------------------

def gps_page():
    gps = box(("GPS", "GPS"), children=[
        row(field("GPS Server's Ip", ("GPS server IP", "GPS服务器IP")),
            field("GPS Server's Port", ("GPS server port", "GPS服务器端口"))),
        row(choice("GPS work mode", ("Work mode", "工作模式"),
                   [("Off", "关闭"), ("Send to server", "上传服务器"),
                    ("Serial output", "串口输出")]),
            field("GPS euipment ID", ("Device ID", "设备ID"))),
        row(field("GPS transmit interval", ("Interval (s)", "上报间隔(秒)"))),
    ])
    sentences = box(("NMEA sentences", "NMEA语句"), children=[
        row(*[choice(f"GPS {s}", (s, s), OFF_ON, 1 if s == "GPRMC" else 0, cw=80)
              for s in ("GPRMC", "GPVTG", "GPGGA")]),
        row(*[choice(f"GPS {s}", (s, s), OFF_ON, 0, cw=80) for s in ("GPGSA", "GPGSV", "GPGLL")]),
    ])
    channels = box(("Data transfer channels", "数据传输通道"), children=[
        row(switch("GPS2COM", ("GPS → serial", "GPS → 串口")),
            switch("COM2GPS", ("Serial → GPS", "串口 → GPS"))),
        row(switch("GPS2GPRS", ("GPS → network", "GPS → 网络")),
            switch("GPRS2GPS", ("Network → GPS", "网络 → GPS"))),
        row(switch("GPRS2COM", ("Network → serial", "网络 → 串口")),
            switch("COM2GPRS", ("Serial → network", "串口 → 网络"))),
    ])
    return page([gps, sentences, channels])


# --- 10 Operation --------------------------------------------------------------------------

RAW_COMMANDS = [
    ("AT+LIST", ("List the unit's commands", "列出设备支持的命令")),
    ("AT+SHOW", ("Print every parameter in the log (the pages are not filled)",
                 "在日志中列出全部参数（不填入页面）")),
    ("AT+VER", ("Firmware version", "固件版本")),
    ("AT+CPIN?", ("SIM card state", "SIM卡状态")),
    ("AT+CSQ", ("Signal quality (0..31, 99 unknown)", "信号质量（0..31，99为未知）")),
    ("AT+FINDNETMODE", ("Network the modem is registered on", "当前注册的网络")),
    ("AT+READFILELOG", ("Print the unit's event log", "打印设备事件日志")),
]


def computer_examine():
    commands = box(("Unit commands", "设备命令"), children=[
        row(button(name, name, width=150), caption(text, width=520))
        for name, text in RAW_COMMANDS
    ])
    tips = box(("How to use", "使用说明"), children=[
        row(caption(("Log in first. Each button sends its command as written; the answer "
                     "appears in the log.",
                     "请先登录。每个按钮按原样发送命令，应答显示在日志中。"), width=800)),
        row(caption(("The unit leaves setting mode by itself after a while without commands.",
                     "一段时间没有命令时，设备会自动退出配置模式。"), width=800)),
    ])
    return page([commands, tips])


# Page element in skin.xml, its file, its builder; in the tab layout's order.
PAGES = [
    ("WorkTab", "WorkTab.xml", work_tab),
    ("ServiceCentre", "Service Centre.xml", service_centre),
    ("SerialPort", "Serial port.xml", serial_port),
    ("IOPage", "IOPage.xml", io_page),
    ("Wireless", "Wireless.xml", wireless),
    ("Global_Parameter", "Global Parameter.xml", global_parameter),
    ("Equipment_Management", "Equipment Management.xml", equipment_management),
    ("LoraPage", "LoraPage.xml", lora_page),
    ("ZigbeePage", "ZigbeePage.xml", zigbee_page),
    ("GPSPage", "GPSPage.xml", gps_page),
    ("ComputerExamine", "ComputerExamine.xml", computer_examine),
]

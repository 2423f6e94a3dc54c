<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>zlm5::AboutDialog</name>
    <message>
        <source>Version %1
Copyright © 2026 VRAX Electronics.
Free software under the GNU General Public License, version 3 or later.
There is NO WARRANTY, to the extent permitted by law.</source>
        <translation>版本 %1
版权所有 © 2026 VRAX Electronics。
本软件为自由软件，依照 GNU 通用公共许可证第 3 版或更高版本发布。
在法律允许的范围内，本软件不提供任何担保。</translation>
    </message>
    <message>
        <source>About VRAX</source>
        <translation>关于 VRAX</translation>
    </message>
    <message>
        <source>Communication Software Z-LM5</source>
        <translation>通信软件 Z-LM5</translation>
    </message>
</context>
<context>
    <name>zlm5::App</name>
    <message>
        <source>Failed to open document.

%1</source>
        <translation>无法打开文档。

%1</translation>
    </message>
</context>
<context>
    <name>zlm5::ButtonMnemonics</name>
    <message>
        <source>&amp;Apply</source>
        <translation>应用(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>放弃(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
</context>
<context>
    <name>zlm5::ChannelCheckDialog</name>
    <message>
        <source>Check Channels</source>
        <translation>检查频道</translation>
    </message>
    <message>
        <source>Check &amp;Again</source>
        <translation>重新检查(&amp;A)</translation>
    </message>
    <message>
        <source>Nothing found.</source>
        <translation>未发现问题。</translation>
    </message>
    <message>
        <source>1 finding. Double-click a line, or press Enter on it, to go to its cell.</source>
        <translation>发现 1 个问题。双击某一行或在该行上按 Enter 键，即可转到对应的单元格。</translation>
    </message>
    <message>
        <source>%1 findings. Double-click a line, or press Enter on it, to go to its cell.</source>
        <translation>发现 %1 个问题。双击某一行或在该行上按 Enter 键，即可转到对应的单元格。</translation>
    </message>
    <message>
        <source>Findings</source>
        <translation>检查结果</translation>
    </message>
</context>
<context>
    <name>zlm5::ChannelView</name>
    <message>
        <source>Type</source>
        <translation>机型</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>频段</translation>
    </message>
    <message>
        <source>Manul Setting</source>
        <translation>手动设置</translation>
    </message>
    <message>
        <source>Tx Power Rank</source>
        <translation>发射功率档位</translation>
    </message>
    <message>
        <source>Type Setting</source>
        <translation>机型设置</translation>
    </message>
    <message>
        <source>Change %1</source>
        <translation>更改%1</translation>
    </message>
    <message>
        <source>Please input Number</source>
        <translation>请输入数字</translation>
    </message>
    <message>
        <source>Edit Channel %1</source>
        <translation>编辑频道 %1</translation>
    </message>
    <message>
        <source>Please directly double click inside the table</source>
        <translation>请直接在表格内双击</translation>
    </message>
    <message>
        <source>Please click the CommBox to choose value，For help，please press F1</source>
        <translation>请点击下拉框选择数值，如需帮助，请按 F1</translation>
    </message>
    <message>
        <source>Please Click the cell to edit or input data，For help，please press F1</source>
        <translation>请点击单元格编辑或输入数据，如需帮助，请按 F1</translation>
    </message>
    <message>
        <source>For help，please press F1</source>
        <translation>如需帮助，请按 F1</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>频道</translation>
    </message>
    <message>
        <source>%1, channel %2</source>
        <translation>%1，频道 %2</translation>
    </message>
</context>
<context>
    <name>zlm5::CheckCommands</name>
    <message>
        <source>Chec&amp;k Channels...</source>
        <translation>检查频道(&amp;K)...</translation>
    </message>
    <message>
        <source>List channels that are likely mistakes: out of band, repeated, without a receive frequency, names used twice</source>
        <translation>列出可能有误的频道：超出频段、重复、没有接收频率、名称重复</translation>
    </message>
    <message>
        <source>Compare &amp;With...</source>
        <translation>与文件比较(&amp;W)...</translation>
    </message>
    <message>
        <source>List what differs between the document and a channel data file</source>
        <translation>列出文档与某个频道数据文件之间的差异</translation>
    </message>
    <message>
        <source>Compare With Ra&amp;dio...</source>
        <translation>与电台比较(&amp;D)...</translation>
    </message>
    <message>
        <source>Read the radio and list what differs from the document, which stays as it is</source>
        <translation>读取电台并列出与文档的差异，文档保持不变</translation>
    </message>
    <message>
        <source>Compare With</source>
        <translation>比较对象</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <source>Cannot compare with the file.

%1</source>
        <translation>无法与该文件比较。

%1</translation>
    </message>
    <message>
        <source>the radio</source>
        <translation>电台</translation>
    </message>
</context>
<context>
    <name>zlm5::CompareDialog</name>
    <message>
        <source>Compare With %1</source>
        <translation>与%1比较</translation>
    </message>
    <message>
        <source>No differences between the document and %1.</source>
        <translation>文档与%1之间没有差异。</translation>
    </message>
    <message>
        <source>1 difference between the document and %1. Each line reads: in the document → in %1.</source>
        <translation>文档与%1之间有 1 处差异。每行格式为：文档中的值 → %1中的值。</translation>
    </message>
    <message>
        <source>%1 differences between the document and %2. Each line reads: in the document → in %2.</source>
        <translation>文档与%2之间有 %1 处差异。每行格式为：文档中的值 → %2中的值。</translation>
    </message>
    <message>
        <source>&amp;Copy to Clipboard</source>
        <translation>复制到剪贴板(&amp;C)</translation>
    </message>
    <message>
        <source>Differences</source>
        <translation>差异</translation>
    </message>
</context>
<context>
    <name>zlm5::CoreTexts</name>
    <message>
        <source>%1; the row is skipped</source>
        <translation>%1；跳过该行</translation>
    </message>
    <message>
        <source>%1; the line is skipped</source>
        <translation>%1；跳过该行</translation>
    </message>
    <message>
        <source>%1 (backup not saved: %2)</source>
        <translation>%1（备份未保存：%2）</translation>
    </message>
    <message>
        <source>%1 (the verify was cancelled)</source>
        <translation>%1（校验已取消）</translation>
    </message>
    <message>
        <source>%1; and %2 more</source>
        <translation>%1；另有 %2 处</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>%1: line %2</source>
        <translation>%1：第 %2 行</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>第 %1 行</translation>
    </message>
    <message>
        <source>not a channel list: the file holds no header line</source>
        <translation>不是频道列表：文件中没有标题行</translation>
    </message>
    <message>
        <source>not a channel list: its first line (line %1) has no Frequency column</source>
        <translation>不是频道列表：其第一行（第 %1 行）没有 Frequency 列</translation>
    </message>
    <message>
        <source>Duplex &apos;%1&apos; is not +, -, split, off or empty</source>
        <translation>Duplex“%1”不是 +、-、split、off，也不为空</translation>
    </message>
    <message>
        <source>Offset &apos;%1&apos; is not a frequency in MHz</source>
        <translation>Offset“%1”不是以 MHz 为单位的频率</translation>
    </message>
    <message>
        <source>the Frequency is empty</source>
        <translation>Frequency 为空</translation>
    </message>
    <message>
        <source>Frequency &apos;%1&apos; is not a frequency in MHz</source>
        <translation>Frequency“%1”不是以 MHz 为单位的频率</translation>
    </message>
    <message>
        <source>Frequency %1 MHz is %2</source>
        <translation>Frequency 的值 %1 MHz %2</translation>
    </message>
    <message>
        <source>the transmit frequency %1 MHz (Duplex &apos;%2&apos;, Offset %3) is %4</source>
        <translation>发射频率 %1 MHz（Duplex“%2”，Offset %3）%4</translation>
    </message>
    <message>
        <source>outside 67-521 MHz</source>
        <translation>超出 67-521 MHz 范围</translation>
    </message>
    <message>
        <source>not on a 6.25, 5 or 2.5 kHz step</source>
        <translation>不在 6.25、5 或 2.5 kHz 的步进上</translation>
    </message>
    <message>
        <source>Mode %1 is not FM or NFM</source>
        <translation>Mode %1 不是 FM 或 NFM</translation>
    </message>
    <message>
        <source>%1 &apos;%2&apos; is not a CTCSS tone of the radio</source>
        <translation>%1“%2”不是电台的 CTCSS 亚音</translation>
    </message>
    <message>
        <source>%1 &apos;%2&apos; is not a DCS code of the radio</source>
        <translation>%1“%2”不是电台的 DCS 码</translation>
    </message>
    <message>
        <source>DtcsPolarity &apos;%1&apos; is not NN, NR, RN or RR</source>
        <translation>DtcsPolarity“%1”不是 NN、NR、RN 或 RR</translation>
    </message>
    <message>
        <source>Tone %1 (reverse squelch) is not a mode the radio has</source>
        <translation>Tone %1（反向静噪）不是电台具有的模式</translation>
    </message>
    <message>
        <source>Tone &apos;%1&apos; is not a tone mode of the format</source>
        <translation>Tone“%1”不是该格式的亚音模式</translation>
    </message>
    <message>
        <source>CrossMode &apos;%1&apos; is not one the radio can hold</source>
        <translation>CrossMode“%1”不是电台能够保存的组合</translation>
    </message>
    <message>
        <source>Power &apos;%1&apos; is neither High, Low nor a wattage; the channel keeps %2</source>
        <translation>Power“%1”既不是 High、Low，也不是瓦数；频道保留 %2</translation>
    </message>
    <message>
        <source>Comment &apos;%1&apos; is not a %2 the radio has; the channel keeps %3</source>
        <translation>Comment“%1”不是电台具有的 %2；频道保留 %3</translation>
    </message>
    <message>
        <source>Name &apos;%1&apos; is changed to &apos;%2&apos;</source>
        <translation>名称“%1”已改为“%2”</translation>
    </message>
    <message>
        <source>Name &apos;%1&apos; is shortened to &apos;%2&apos;</source>
        <translation>名称“%1”已缩短为“%2”</translation>
    </message>
    <message>
        <source>Location &apos;%1&apos; is not a channel number</source>
        <translation>Location“%1”不是频道号</translation>
    </message>
    <message>
        <source>Location %1 is beyond channel 128 (locations count from 0)</source>
        <translation>Location %1 超出频道 128（Location 从 0 开始计数）</translation>
    </message>
    <message>
        <source>Location %1 is beyond channel 128</source>
        <translation>Location %1 超出频道 128</translation>
    </message>
    <message>
        <source>a quoted field is not closed before the end of the file</source>
        <translation>带引号的字段直到文件结尾都未闭合</translation>
    </message>
    <message>
        <source>the row has %1 fields where the header has %2</source>
        <translation>该行有 %1 个字段，而标题行有 %2 个</translation>
    </message>
    <message>
        <source>channel %1 was already imported from line %2</source>
        <translation>频道 %1 已从第 %2 行导入</translation>
    </message>
    <message>
        <source>the line has %1 fields where a channel has 11 (12 with its number)</source>
        <translation>该行有 %1 个字段，而一个频道有 11 个（连同频道号为 12 个）</translation>
    </message>
    <message>
        <source>%1 &apos;%2&apos; is not a frequency within 67-521 MHz</source>
        <translation>%1“%2”不是 67-521 MHz 范围内的频率</translation>
    </message>
    <message>
        <source>%1 &apos;%2&apos; is not on a 6.25, 5 or 2.5 kHz step</source>
        <translation>%1“%2”不在 6.25、5 或 2.5 kHz 的步进上</translation>
    </message>
    <message>
        <source>%1 &apos;%2&apos; is not a tone of the radio</source>
        <translation>%1“%2”不是电台的亚音</translation>
    </message>
    <message>
        <source>%1 &apos;%2&apos; is not an entry of its list; the channel keeps what a new channel gets</source>
        <translation>%1“%2”不是其列表中的选项；频道保留新频道的默认值</translation>
    </message>
    <message>
        <source>no channel is left for this line (channel 128 is the last)</source>
        <translation>没有剩余的频道可容纳此行（频道 128 是最后一个）</translation>
    </message>
    <message>
        <source>a quoted field is not closed before the end of the text</source>
        <translation>带引号的字段直到文本结尾都未闭合</translation>
    </message>
    <message>
        <source>Error Data Format，Please input again</source>
        <translation>数据格式错误，请重新输入</translation>
    </message>
    <message>
        <source>Error data Value，Please input according the step value(6.25K/5k/2.5k)</source>
        <translation>数据值错误，请按照步进值（6.25K/5k/2.5k）输入</translation>
    </message>
    <message>
        <source>CH %1: receive frequency %2 MHz is outside the band %3</source>
        <translation>CH %1：接收频率 %2 MHz 超出频段 %3</translation>
    </message>
    <message>
        <source>CH %1: transmit frequency %2 MHz is outside the band %3</source>
        <translation>CH %1：发射频率 %2 MHz 超出频段 %3</translation>
    </message>
    <message>
        <source>CH %1: in use without a receive frequency</source>
        <translation>CH %1：已使用但没有接收频率</translation>
    </message>
    <message>
        <source>CH %1: same receive frequency and tones as CH %2</source>
        <translation>CH %1：接收频率和亚音与 CH %2 相同</translation>
    </message>
    <message>
        <source>CH %1: name &quot;%2&quot; is also the name of CH %3</source>
        <translation>CH %1：名称“%2”也是 CH %3 的名称</translation>
    </message>
    <message>
        <source>Outside the band %1 chosen in the Field box</source>
        <translation>超出“频段”框中所选的频段 %1</translation>
    </message>
    <message>
        <source>cannot read the file: it is a folder</source>
        <translation>无法读取文件：它是一个文件夹</translation>
    </message>
    <message>
        <source>cannot open the file: it is a device, not %1</source>
        <translation>无法打开文件：它是一个设备，而不是%1</translation>
    </message>
    <message>
        <source>cannot read the file: it is larger than %1 bytes, too large for %2</source>
        <translation>无法读取文件：文件大于 %1 字节，作为%2太大</translation>
    </message>
    <message>
        <source>cannot open the file: %1</source>
        <translation>无法打开文件：%1</translation>
    </message>
    <message>
        <source>cannot read the file: %1</source>
        <translation>无法读取文件：%1</translation>
    </message>
    <message>
        <source>a channel list</source>
        <translation>频道列表</translation>
    </message>
    <message>
        <source>an identity list</source>
        <translation>身份列表</translation>
    </message>
    <message>
        <source>RadioId &quot;%1&quot; may hold letters and digits only</source>
        <translation>RadioId“%1”只能包含字母和数字</translation>
    </message>
    <message>
        <source>RadioId &quot;%1&quot; is longer than 8 characters</source>
        <translation>RadioId“%1”超过 8 个字符</translation>
    </message>
    <message>
        <source>CallId &quot;%1&quot; is longer than 8 characters</source>
        <translation>CallId“%1”超过 8 个字符</translation>
    </message>
    <message>
        <source>Ani &quot;%1&quot; may hold digits only</source>
        <translation>Ani“%1”只能包含数字</translation>
    </message>
    <message>
        <source>Ani &quot;%1&quot; has more than 4 digits</source>
        <translation>Ani“%1”超过 4 位数字</translation>
    </message>
    <message>
        <source>unknown column &quot;%1&quot;; the columns are Port or Order, RadioId, CallId, Ani and Name</source>
        <translation>未知的列“%1”；可用的列为 Port 或 Order、RadioId、CallId、Ani 和 Name</translation>
    </message>
    <message>
        <source>column %1 is named twice</source>
        <translation>列 %1 出现了两次</translation>
    </message>
    <message>
        <source>both a Port and an Order column; name the radios by one</source>
        <translation>同时有 Port 列和 Order 列；请只用其中一种指定电台</translation>
    </message>
    <message>
        <source>no Port or Order column to say which radio a row is for</source>
        <translation>没有 Port 或 Order 列来说明每一行对应哪台电台</translation>
    </message>
    <message>
        <source>Order &quot;%1&quot; is not a position 1 to %2</source>
        <translation>Order“%1”不是 1 到 %2 之间的位置</translation>
    </message>
    <message>
        <source>%1 fields, but the header names %2 columns</source>
        <translation>有 %1 个字段，但标题行只列出 %2 列</translation>
    </message>
    <message>
        <source>no Port</source>
        <translation>缺少 Port</translation>
    </message>
    <message>
        <source>no Order</source>
        <translation>缺少 Order</translation>
    </message>
    <message>
        <source>port %1 has a row already (line %2)</source>
        <translation>端口 %1 已有一行（第 %2 行）</translation>
    </message>
    <message>
        <source>Order %1 has a row already (line %2)</source>
        <translation>Order %1 已有一行（第 %2 行）</translation>
    </message>
    <message>
        <source>the identity list is empty</source>
        <translation>身份列表为空</translation>
    </message>
    <message>
        <source>the identity list names no radio</source>
        <translation>身份列表中没有任何电台</translation>
    </message>
    <message>
        <source>a quoted field is not closed</source>
        <translation>带引号的字段未闭合</translation>
    </message>
    <message>
        <source>Radio ID %1, Call ID %2, ANI %3</source>
        <translation>电台 ID %1，呼叫 ID %2，ANI 码 %3</translation>
    </message>
    <message>
        <source>Radio ID %1, Call ID %2</source>
        <translation>电台 ID %1，呼叫 ID %2</translation>
    </message>
    <message>
        <source>Radio ID %1, ANI %2</source>
        <translation>电台 ID %1，ANI 码 %2</translation>
    </message>
    <message>
        <source>Call ID %1, ANI %2</source>
        <translation>呼叫 ID %1，ANI 码 %2</translation>
    </message>
    <message>
        <source>Radio ID %1 stored as %2</source>
        <translation>电台 ID %1 存储为 %2</translation>
    </message>
    <message>
        <source>Call ID %1 stored as %2</source>
        <translation>呼叫 ID %1 存储为 %2</translation>
    </message>
    <message>
        <source>ANI %1 stored as %2</source>
        <translation>ANI 码 %1 存储为 %2</translation>
    </message>
    <message>
        <source>Radio ID %1</source>
        <translation>电台 ID %1</translation>
    </message>
    <message>
        <source>Call ID %1</source>
        <translation>呼叫 ID %1</translation>
    </message>
    <message>
        <source>ANI %1</source>
        <translation>ANI 码 %1</translation>
    </message>
    <message>
        <source>the same port is given twice (%1)</source>
        <translation>同一端口被指定了两次（%1）</translation>
    </message>
    <message>
        <source>port %1 is %2, which line %3 names already</source>
        <translation>端口 %1 即 %2，第 %3 行已指定该端口</translation>
    </message>
    <message>
        <source>Order %1, but %2 port is given</source>
        <translation>Order 为 %1，但只指定了 %2 个端口</translation>
    </message>
    <message>
        <source>Order %1, but %2 ports are given</source>
        <translation>Order 为 %1，但只指定了 %2 个端口</translation>
    </message>
    <message>
        <source>port %1 is not among the ports given</source>
        <translation>端口 %1 不在所指定的端口中</translation>
    </message>
    <message>
        <source>%1: no row in the identity list; the radio gets the file&apos;s identity</source>
        <translation>%1：身份列表中没有对应的行；该电台使用文件中的身份码</translation>
    </message>
    <message>
        <source>verify failed: %1</source>
        <translation>校验失败：%1</translation>
    </message>
    <message>
        <source>partly written (%1 of %2 blocks): %3</source>
        <translation>部分写入（%2 块中的 %1 块）：%3</translation>
    </message>
    <message>
        <source>partly written (%1 of %2 blocks)</source>
        <translation>部分写入（%2 块中的 %1 块）</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>失败：%1</translation>
    </message>
    <message>
        <source>cancelled: %1</source>
        <translation>已取消：%1</translation>
    </message>
    <message>
        <source>written</source>
        <translation>已写入</translation>
    </message>
    <message>
        <source>verified</source>
        <translation>已校验</translation>
    </message>
    <message>
        <source>read</source>
        <translation>已读取</translation>
    </message>
    <message>
        <source>verify failed</source>
        <translation>校验失败</translation>
    </message>
    <message>
        <source>partly written</source>
        <translation>部分写入</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>port unavailable</source>
        <translation>端口不可用</translation>
    </message>
    <message>
        <source>The transfer stopped after an unexpected error: %1</source>
        <translation>传输因意外错误而中止：%1</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>%1 blocks read</source>
        <translation>已读取 %1 块</translation>
    </message>
    <message>
        <source>%1 blocks written</source>
        <translation>已写入 %1 块</translation>
    </message>
    <message>
        <source>Cancelled while the radio was read into a backup; nothing was written</source>
        <translation>在将电台读取到备份时已取消；未写入任何数据</translation>
    </message>
    <message>
        <source>Nothing was written: the radio could not be read into a backup first</source>
        <translation>未写入任何数据：无法先将电台读取到备份中</translation>
    </message>
    <message>
        <source>Nothing was written: the backup of the radio could not be saved</source>
        <translation>未写入任何数据：无法保存电台的备份</translation>
    </message>
    <message>
        <source>The backup could not be saved: %1</source>
        <translation>无法保存备份：%1</translation>
    </message>
    <message>
        <source>The verify was cancelled: the radio was not read back</source>
        <translation>校验已取消：未回读电台</translation>
    </message>
    <message>
        <source>The radio could not be read back to verify the write</source>
        <translation>无法回读电台以校验写入</translation>
    </message>
    <message>
        <source>Radio verified: %1 blocks match</source>
        <translation>电台校验通过：%1 块全部一致</translation>
    </message>
    <message>
        <source>Radio verify failed: the radio does not hold what was written (%1 difference)</source>
        <translation>电台校验失败：电台中的数据与写入的不一致（%1 处差异）</translation>
    </message>
    <message>
        <source>Radio verify failed: the radio does not hold what was written (%1 differences)</source>
        <translation>电台校验失败：电台中的数据与写入的不一致（%1 处差异）</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>……另有 %1 处</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>%1; rows not read from this line on: %2</source>
        <translation>%1；自此行起未读取的行：%2</translation>
    </message>
    <message>
        <source>no channel is left (channel 128 is the last)</source>
        <translation>没有剩余的频道（频道 128 是最后一个）</translation>
    </message>
    <message>
        <source>all 128 channels are imported</source>
        <translation>128 个频道已全部导入</translation>
    </message>
    <message>
        <source>and %1 more lines were not taken</source>
        <translation>另有 %1 行未被采用</translation>
    </message>
    <message>
        <source>the file has no CrossMode column, which a Cross row needs</source>
        <translation>文件中没有 CrossMode 列，而 Cross 行需要该列</translation>
    </message>
    <message>
        <source>the file is UTF-16 text and must be saved as UTF-8 to be read as a channel list</source>
        <translation>该文件是 UTF-16 文本，须另存为 UTF-8 才能作为频道列表读取</translation>
    </message>
</context>
<context>
    <name>zlm5::EditCommands</name>
    <message>
        <source>Channel 128 is in use, so no channel can move down to make room. Delete or clear a channel first.</source>
        <translation>频道 128 已被占用，没有频道可以下移腾出位置。请先删除或清空一个频道。</translation>
    </message>
    <message>
        <source>The clipboard holds no channels to paste.</source>
        <translation>剪贴板中没有可粘贴的频道。</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>撤销(&amp;U) %1</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>重做(&amp;R) %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>%1 copied</source>
        <translation>已复制%1</translation>
    </message>
    <message>
        <source>Cut %1</source>
        <translation>剪切%1</translation>
    </message>
    <message>
        <source>Paste Channels</source>
        <translation>粘贴频道</translation>
    </message>
    <message>
        <source>the clipboard</source>
        <translation>剪贴板</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>粘贴</translation>
    </message>
    <message>
        <source>Insert Empty Channel</source>
        <translation>插入空频道</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>删除%1</translation>
    </message>
    <message>
        <source>Move Channel Up</source>
        <translation>上移频道</translation>
    </message>
    <message>
        <source>Move Channel Down</source>
        <translation>下移频道</translation>
    </message>
    <message>
        <source>Move %1 Up</source>
        <translation>上移%1</translation>
    </message>
    <message>
        <source>Move %1 Down</source>
        <translation>下移%1</translation>
    </message>
    <message>
        <source>Clear %1</source>
        <translation>清空%1</translation>
    </message>
    <message>
        <source>The channel list cannot be read.

%1</source>
        <translation>无法读取频道列表。

%1</translation>
    </message>
    <message>
        <source>Import Channels</source>
        <translation>导入频道</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>The channel list would replace the channel data file %1. Please choose another name.</source>
        <translation>频道列表将会覆盖频道数据文件 %1。请另选一个文件名。</translation>
    </message>
    <message>
        <source>Failed to export the channels.

%1</source>
        <translation>导出频道失败。

%1</translation>
    </message>
    <message>
        <source>%1 exported to %2</source>
        <translation>已将%1导出到 %2</translation>
    </message>
    <message>
        <source>%1 cut</source>
        <translation>已剪切%1</translation>
    </message>
    <message>
        <source>%1 pasted</source>
        <translation>已粘贴%1</translation>
    </message>
</context>
<context>
    <name>zlm5::FleetCommands</name>
    <message>
        <source>cannot be opened: %1</source>
        <translation>无法打开：%1</translation>
    </message>
    <message>
        <source>in use by %1 (PID %2)</source>
        <translation>正被 %1 使用 (PID %2)</translation>
    </message>
    <message>
        <source>Program &amp;Several Radios...</source>
        <translation>批量写频(&amp;S)...</translation>
    </message>
    <message>
        <source>Write the channels to several radios at once, each with its own identity</source>
        <translation>同时将频道写入多台电台，每台电台使用各自的身份码</translation>
    </message>
    <message>
        <source>not present</source>
        <translation>未连接</translation>
    </message>
</context>
<context>
    <name>zlm5::FleetDialog</name>
    <message>
        <source>Starting</source>
        <translation>正在开始</translation>
    </message>
    <message>
        <source>Reading into a backup</source>
        <translation>正在读取备份</translation>
    </message>
    <message>
        <source>(retrying)</source>
        <translation>(正在重试)</translation>
    </message>
    <message>
        <source>Writing</source>
        <translation>正在写入</translation>
    </message>
    <message>
        <source>Reading back to verify</source>
        <translation>正在回读校验</translation>
    </message>
    <message>
        <source>Program Several Radios</source>
        <translation>批量写频</translation>
    </message>
    <message>
        <source>Writes the document, as the window shows it, to the radio on every checked port at once. Each radio gets its own Radio ID, Call ID and ANI from an identity list, when one is loaded.</source>
        <translation>将窗口中显示的文档同时写入所有已勾选端口上的电台。载入身份列表后，每台电台将获得各自的电台 ID、呼叫 ID 和 ANI。</translation>
    </message>
    <message>
        <source>No identity list: every radio gets the document&apos;s identity.</source>
        <translation>未载入身份列表：每台电台都使用文档中的身份码。</translation>
    </message>
    <message>
        <source> times</source>
        <translation> 次</translation>
    </message>
    <message>
        <source>After a communication error, &amp;retry</source>
        <translation>通讯出错后重试(&amp;R)</translation>
    </message>
    <message>
        <source>Write to a radio of another &amp;type</source>
        <translation>允许写入其他机型的电台(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Back up each radio before writing it</source>
        <translation>写入前备份每台电台(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Verify after writing</source>
        <translation>写入后校验(&amp;V)</translation>
    </message>
    <message>
        <source>Start only when every checked radio has a row of the list, and every row a checked radio</source>
        <translation>仅当每台已勾选的电台在列表中都有对应行、且每一行都有对应的已勾选电台时才开始</translation>
    </message>
    <message>
        <source>&amp;Load Identities...</source>
        <translation>载入身份列表(&amp;L)...</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>开始(&amp;S)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Radio</source>
        <translation>电台</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>设备</translation>
    </message>
    <message>
        <source>Identity</source>
        <translation>身份码</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Load Identities</source>
        <translation>载入身份列表</translation>
    </message>
    <message>
        <source>Identity Lists (*.csv);;All Files (*)</source>
        <translation>身份列表 (*.csv);;所有文件 (*)</translation>
    </message>
    <message>
        <source>The identity list cannot be used: %1</source>
        <translation>无法使用该身份列表：%1</translation>
    </message>
    <message>
        <source>Identity list: %1 (%2 rows, by %3)</source>
        <translation>身份列表：%1（%2 行，按%3对应）</translation>
    </message>
    <message>
        <source>port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>order of the checked radios</source>
        <translation>已勾选电台的顺序</translation>
    </message>
    <message>
        <source>Check the radios to write.</source>
        <translation>请勾选要写入的电台。</translation>
    </message>
    <message>
        <source>The identity list and the checked radios do not match one to one:

%1</source>
        <translation>身份列表与已勾选的电台不能一一对应：

%1</translation>
    </message>
    <message>
        <source>Load an identity list first.</source>
        <translation>请先载入身份列表。</translation>
    </message>
    <message>
        <source> -&gt; Retry</source>
        <translation> -&gt; 重试</translation>
    </message>
    <message>
        <source> -&gt; OK</source>
        <translation> -&gt; 确定</translation>
    </message>
    <message>
        <source> -&gt; Cancel</source>
        <translation> -&gt; 取消</translation>
    </message>
    <message>
        <source>Radios</source>
        <translation>电台</translation>
    </message>
</context>
<context>
    <name>zlm5::GridAccessible</name>
    <message>
        <source>Channel %1</source>
        <translation>频道 %1</translation>
    </message>
</context>
<context>
    <name>zlm5::HelpWindow</name>
    <message>
        <source>Z-LM5 Help</source>
        <translation>Z-LM5 帮助</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>后退(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>前进(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Contents Page</source>
        <translation>目录页(&amp;C)</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>目录</translation>
    </message>
    <message>
        <source>&amp;Type the first few letters of the word:</source>
        <translation>请键入要查找的词的前几个字母(&amp;T)：</translation>
    </message>
    <message>
        <source>&amp;Display</source>
        <translation>显示(&amp;D)</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>索引</translation>
    </message>
</context>
<context>
    <name>zlm5::ImportReportDialog</name>
    <message>
        <source>From:</source>
        <translation>来源：</translation>
    </message>
    <message>
        <source>as the file says</source>
        <translation>按文件所列</translation>
    </message>
    <message>
        <source>&amp;First channel:</source>
        <translation>起始频道(&amp;F)：</translation>
    </message>
    <message>
        <source>1 Channel</source>
        <translation>1 个频道</translation>
    </message>
    <message>
        <source>%1 Channels</source>
        <translation>%1 个频道</translation>
    </message>
    <message>
        <source>No channel can be written.</source>
        <translation>没有可以写入的频道。</translation>
    </message>
    <message>
        <source>1 channel will be written to channel %1.</source>
        <translation>将把 1 个频道写入频道 %1。</translation>
    </message>
    <message>
        <source>%1 channels will be written to channels %2.</source>
        <translation>将把 %1 个频道写入频道 %2。</translation>
    </message>
    <message>
        <source> These lines are not taken as they stand:</source>
        <translation>以下各行不能按原样采用：</translation>
    </message>
    <message>
        <source>Line %1, channel %2</source>
        <translation>第 %1 行，频道 %2</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>第 %1 行</translation>
    </message>
    <message>
        <source>Import report</source>
        <translation>导入报告</translation>
    </message>
</context>
<context>
    <name>zlm5::LinkTexts</name>
    <message>
        <source>Could not Open the Port,Please check whether the Port are occupied or the device are ok</source>
        <translation>无法打开端口，请检查端口是否被占用或设备是否正常</translation>
    </message>
    <message>
        <source>mydebug Could not Open the Port,Please check whether the Port are occupied or the device are ok</source>
        <translation>mydebug 无法打开端口，请检查端口是否被占用或设备是否正常</translation>
    </message>
    <message>
        <source>Communication Error，Please check all the connections and the radio power</source>
        <translation>通讯错误，请检查所有连接以及电台电源</translation>
    </message>
    <message>
        <source>Now are detecting Communication Port,Please wait...</source>
        <translation>正在检测通讯端口，请稍候...</translation>
    </message>
    <message>
        <source>Waiting the response from radio....</source>
        <translation>正在等待电台响应....</translation>
    </message>
    <message>
        <source> Radio Type are not match for your setting，If you want continue,push ok button</source>
        <translation>电台机型与设置不符，如需继续，请按“确定”按钮</translation>
    </message>
    <message>
        <source> Error in the Send Order</source>
        <translation>发送命令出错</translation>
    </message>
    <message>
        <source> Program Interrupt，Please reset the radio and try again</source>
        <translation>编程中断，请复位电台后重试</translation>
    </message>
    <message>
        <source>not received enough  byte</source>
        <translation>未收到足够的字节</translation>
    </message>
    <message>
        <source>Error had happen,please try again</source>
        <translation>发生错误，请重试</translation>
    </message>
    <message>
        <source>The radio sent more bytes than expected. Please check the cable and try again.</source>
        <translation>电台发送的字节多于预期。请检查写频线后重试。</translation>
    </message>
    <message>
        <source>Not received enough  byte</source>
        <translation>未收到足够的字节</translation>
    </message>
    <message>
        <source> Error had happen L1,need try again</source>
        <translation>发生错误 L1，需要重试</translation>
    </message>
    <message>
        <source> Error had happen L2,need try again</source>
        <translation>发生错误 L2，需要重试</translation>
    </message>
    <message>
        <source> Error had happen ,need try again</source>
        <translation>发生错误，需要重试</translation>
    </message>
    <message>
        <source>The radio could not be taken out of power tuning. Switch the radio off and on again before using it.</source>
        <translation>无法使电台退出功率调试。请先关闭电台电源再重新打开，然后再使用电台。</translation>
    </message>
    <message>
        <source>Your user account has no access to serial ports. On Debian, add it to the &quot;dialout&quot; group (sudo adduser $USER dialout), then log out and in again.</source>
        <translation>您的用户帐户无权访问串口。在 Debian 上，请将其加入 &quot;dialout&quot; 组（sudo adduser $USER dialout），然后注销并重新登录。</translation>
    </message>
    <message>
        <source>The radio now holds a partly written memory: %1 of %2 blocks were written. Write it to the radio again before using the radio.</source>
        <translation>电台中的存储器现已部分写入：%2 块中已写入 %1 块。使用电台前，请重新写入电台。</translation>
    </message>
    <message>
        <source>%1: this device is not a serial port</source>
        <translation>%1：该设备不是串口</translation>
    </message>
    <message>
        <source>%1: this is a file, not a serial port</source>
        <translation>%1：这是一个文件，不是串口</translation>
    </message>
    <message>
        <source>%1: this is a named pipe, not a serial port</source>
        <translation>%1：这是一个命名管道，不是串口</translation>
    </message>
    <message>
        <source>%1: probably in use by a program of another user</source>
        <translation>%1：可能正被其他用户的程序占用</translation>
    </message>
    <message>
        <source>%1: in use by %2</source>
        <translation>%1：正被 %2 占用</translation>
    </message>
</context>
<context>
    <name>zlm5::MainFrame</name>
    <message>
        <source>&amp;New	Ctrl+N</source>
        <translation>新建(&amp;N)	Ctrl+N</translation>
    </message>
    <message>
        <source>Create a new document
New</source>
        <translation>新建一个文档
新建</translation>
    </message>
    <message>
        <source>&amp;Open...	Ctrl+O</source>
        <translation>打开(&amp;O)...	Ctrl+O</translation>
    </message>
    <message>
        <source>Open an existing document
Open</source>
        <translation>打开一个已有的文档
打开</translation>
    </message>
    <message>
        <source>&amp;Save	Ctrl+S</source>
        <translation>保存(&amp;S)	Ctrl+S</translation>
    </message>
    <message>
        <source>Save the active document
Save</source>
        <translation>保存当前文档
保存</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>另存为(&amp;A)...</translation>
    </message>
    <message>
        <source>Save the active document with a new name
Save As</source>
        <translation>以新的文件名保存当前文档
另存为</translation>
    </message>
    <message>
        <source>&amp;Print...	Ctrl+P</source>
        <translation>打印(&amp;P)...	Ctrl+P</translation>
    </message>
    <message>
        <source>Print the active document
Print</source>
        <translation>打印当前文档
打印</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>打印预览(&amp;V)</translation>
    </message>
    <message>
        <source>Display full pages
Print Preview</source>
        <translation>显示整页
打印预览</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>打印设置(&amp;R)...</translation>
    </message>
    <message>
        <source>Change the printer and printing options
Print Setup</source>
        <translation>更改打印机和打印选项
打印设置</translation>
    </message>
    <message>
        <source>&amp;Import Channels...</source>
        <translation>导入频道(&amp;I)...</translation>
    </message>
    <message>
        <source>Import channels from a CSV channel list
Import Channels</source>
        <translation>从 CSV 频道列表导入频道
导入频道</translation>
    </message>
    <message>
        <source>&amp;Export Channels...</source>
        <translation>导出频道(&amp;E)...</translation>
    </message>
    <message>
        <source>Export the channels to a CSV channel list
Export Channels</source>
        <translation>将频道导出为 CSV 频道列表
导出频道</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents
Exit</source>
        <translation>退出程序；会提示保存文档
退出</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>Undo the last change
Undo</source>
        <translation>撤销上一次更改
撤销</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>Redo the change that was undone
Redo</source>
        <translation>重做已撤销的更改
重做</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>剪切(&amp;T)</translation>
    </message>
    <message>
        <source>Cut the selected channels to the clipboard
Cut</source>
        <translation>将选中的频道剪切到剪贴板
剪切</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
    <message>
        <source>Copy the selected channels to the clipboard
Copy</source>
        <translation>将选中的频道复制到剪贴板
复制</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>粘贴(&amp;P)</translation>
    </message>
    <message>
        <source>Paste channels from the clipboard from the selected channel on
Paste</source>
        <translation>从选中的频道起粘贴剪贴板中的频道
粘贴</translation>
    </message>
    <message>
        <source>&amp;Insert Empty Channel</source>
        <translation>插入空频道(&amp;I)</translation>
    </message>
    <message>
        <source>Insert an empty channel; the channels below move down
Insert Empty Channel</source>
        <translation>插入一个空频道；其下方的频道依次下移
插入空频道</translation>
    </message>
    <message>
        <source>&amp;Delete Channels</source>
        <translation>删除频道(&amp;D)</translation>
    </message>
    <message>
        <source>Delete the selected channels; the channels below move up
Delete Channels</source>
        <translation>删除选中的频道；其下方的频道依次上移
删除频道</translation>
    </message>
    <message>
        <source>Mo&amp;ve Up</source>
        <translation>上移(&amp;V)</translation>
    </message>
    <message>
        <source>Move the selected channels up by one
Move Up</source>
        <translation>将选中的频道上移一位
上移</translation>
    </message>
    <message>
        <source>Move Do&amp;wn</source>
        <translation>下移(&amp;W)</translation>
    </message>
    <message>
        <source>Move the selected channels down by one
Move Down</source>
        <translation>将选中的频道下移一位
下移</translation>
    </message>
    <message>
        <source>C&amp;lear Channels</source>
        <translation>清空频道(&amp;L)</translation>
    </message>
    <message>
        <source>Empty the selected channels
Clear Channels</source>
        <translation>清空选中的频道
清空频道</translation>
    </message>
    <message>
        <source>&amp;Read From Radio	Ctrl+R</source>
        <translation>读取电台数据(&amp;R)	Ctrl+R</translation>
    </message>
    <message>
        <source>Read Data From Radio
Read</source>
        <translation>从电台读取数据
读取</translation>
    </message>
    <message>
        <source>&amp;Write To Radio	Ctrl+W</source>
        <translation>写入电台(&amp;W)	Ctrl+W</translation>
    </message>
    <message>
        <source>Write Data to Radio 
Write</source>
        <translation>将数据写入电台
写入</translation>
    </message>
    <message>
        <source>&amp;Edit Data	Ctrl+E</source>
        <translation>编辑数据(&amp;E)	Ctrl+E</translation>
    </message>
    <message>
        <source>Edit channel Data 
Edit</source>
        <translation>编辑频道数据
编辑</translation>
    </message>
    <message>
        <source>&amp;Optional Features	Ctrl+O</source>
        <translation>可选功能(&amp;O)	Ctrl+O</translation>
    </message>
    <message>
        <source>Set the rest  functional features for the interphone</source>
        <translation>设置对讲机的其他功能</translation>
    </message>
    <message>
        <source>High Power Debug</source>
        <translation>大功率调试</translation>
    </message>
    <message>
        <source>Low Power Debug</source>
        <translation>小功率调试</translation>
    </message>
    <message>
        <source>COM1(&amp;P)	Ctrl+C</source>
        <translation>COM1(&amp;P)	Ctrl+C</translation>
    </message>
    <message>
        <source>Choose Communication Port one 
Com1</source>
        <translation>选择通讯端口 1
Com1</translation>
    </message>
    <message>
        <source>COM2(&amp;Q)	Ctrl+D</source>
        <translation>COM2(&amp;Q)	Ctrl+D</translation>
    </message>
    <message>
        <source>Choose Communication Port two 
Com2</source>
        <translation>选择通讯端口 2
Com2</translation>
    </message>
    <message>
        <source>COM3(&amp;S)	Ctrl+E</source>
        <translation>COM3(&amp;S)	Ctrl+E</translation>
    </message>
    <message>
        <source>Choose Communication Port three 
Com3</source>
        <translation>选择通讯端口 3
Com3</translation>
    </message>
    <message>
        <source>COM4(&amp;T)	Ctrl+F</source>
        <translation>COM4(&amp;T)	Ctrl+F</translation>
    </message>
    <message>
        <source>Choose Communication Port four 
Com4</source>
        <translation>选择通讯端口 4
Com4</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>工具栏(&amp;T)</translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle ToolBar</source>
        <translation>显示或隐藏工具栏
切换工具栏</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>状态栏(&amp;S)</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <translation>显示或隐藏状态栏
切换状态栏</translation>
    </message>
    <message>
        <source>&amp;English Texts</source>
        <translation>英文界面(&amp;E)</translation>
    </message>
    <message>
        <source>Use the English texts for messages and the printed report
English Texts</source>
        <translation>窗口、提示信息和打印报告使用英文
英文界面</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>帮助主题(&amp;H)</translation>
    </message>
    <message>
        <source>List Help topics
Help Topics</source>
        <translation>列出帮助主题
帮助主题</translation>
    </message>
    <message>
        <source>&amp;About VRAX-3.0...</source>
        <translation>关于 VRAX-3.0(&amp;A)...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation>显示程序信息、版本号和版权
关于</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Display help for clicked on buttons, menus and windows
Help</source>
        <translation>显示所点击的按钮、菜单和窗口的帮助
帮助</translation>
    </message>
    <message>
        <source>Display help for current task or command
Help</source>
        <translation>显示当前任务或命令的帮助
帮助</translation>
    </message>
    <message>
        <source>Next Pane</source>
        <translation>下一窗格</translation>
    </message>
    <message>
        <source>Switch to the next window pane
Next Pane</source>
        <translation>切换到下一个窗格
下一窗格</translation>
    </message>
    <message>
        <source>Previous Pane</source>
        <translation>上一窗格</translation>
    </message>
    <message>
        <source>Switch back to the previous window pane
Previous Pane</source>
        <translation>切换回上一个窗格
上一窗格</translation>
    </message>
    <message>
        <source>Debug on line</source>
        <translation>在线调试</translation>
    </message>
    <message>
        <source>Debug TX Power,Squelch Level,Low Power Alert
Debug on line</source>
        <translation>调试发射功率、静噪等级、低电压报警
在线调试</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Program</source>
        <translation>编程(&amp;P)</translation>
    </message>
    <message>
        <source>P&amp;ort</source>
        <translation>端口(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>查看(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Recent File</source>
        <translation>最近的文件</translation>
    </message>
    <message>
        <source>Open this document</source>
        <translation>打开此文档</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>For Help，Please Press F1</source>
        <translation>如需帮助，请按 F1</translation>
    </message>
    <message>
        <source>A new document, not saved yet</source>
        <translation>新文档，尚未保存</translation>
    </message>
    <message>
        <source>The channel data has unsaved changes.</source>
        <translation>频道数据有尚未保存的更改。</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>另存为</translation>
    </message>
    <message>
        <source>Import Channels</source>
        <translation>导入频道</translation>
    </message>
    <message>
        <source>Export Channels</source>
        <translation>导出频道</translation>
    </message>
    <message>
        <source>Channel Lists (*.csv)</source>
        <translation>频道列表 (*.csv)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>是否保存对“%1”的更改？</translation>
    </message>
    <message>
        <source>Failed to save document.

%1</source>
        <translation>无法保存文档。

%1</translation>
    </message>
    <message>
        <source>Saved to %1</source>
        <translation>已保存到 %1</translation>
    </message>
</context>
<context>
    <name>zlm5::OptionalFeaturesDialog</name>
    <message>
        <source>Optional Features</source>
        <translation>可选功能</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Beep</source>
        <translation>按键提示音</translation>
    </message>
    <message>
        <source>Scrambler Activation</source>
        <translation>启用扰频</translation>
    </message>
    <message>
        <source>Battery Save</source>
        <translation>省电</translation>
    </message>
    <message>
        <source>Begin of Tx</source>
        <translation>发射开始时</translation>
    </message>
    <message>
        <source>End of Tx</source>
        <translation>发射结束时</translation>
    </message>
    <message>
        <source>Function Set</source>
        <translation>功能设置</translation>
    </message>
    <message>
        <source>Time out time(TOT)(s)</source>
        <translation>发射限时(TOT)(秒)</translation>
    </message>
    <message>
        <source>Squelch Level</source>
        <translation>静噪等级</translation>
    </message>
    <message>
        <source>Language Choose</source>
        <translation>语言选择</translation>
    </message>
    <message>
        <source>Vox Gain Level</source>
        <translation>声控增益等级</translation>
    </message>
    <message>
        <source>PTT ID</source>
        <translation>PTT ID</translation>
    </message>
    <message>
        <source>  Opt Signal In
Frequent Mode</source>
        <translation>  频率模式下的
可选信令</translation>
    </message>
    <message>
        <source>Radio ID</source>
        <translation>电台 ID</translation>
    </message>
    <message>
        <source>Call ID</source>
        <translation>呼叫 ID</translation>
    </message>
</context>
<context>
    <name>zlm5::PowerDebugDialog</name>
    <message>
        <source>Current Position:</source>
        <translation>当前位置：</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>High Power Debug</source>
        <translation>大功率调试</translation>
    </message>
    <message>
        <source>Lower Power Debug</source>
        <translation>小功率调试</translation>
    </message>
</context>
<context>
    <name>zlm5::PrintController</name>
    <message>
        <source>the printer</source>
        <translation>打印机</translation>
    </message>
    <message>
        <source>the printer cannot be opened</source>
        <translation>无法打开打印机</translation>
    </message>
    <message>
        <source>printing failed</source>
        <translation>打印失败</translation>
    </message>
</context>
<context>
    <name>zlm5::RadioOperations</name>
    <message>
        <source>The radio operation stopped after an unexpected error: %1</source>
        <translation>电台操作因意外错误而中止：%1</translation>
    </message>
    <message>
        <source>built-in serial port</source>
        <translation>内置串口</translation>
    </message>
    <message>
        <source>Other Port...</source>
        <translation>其他端口...</translation>
    </message>
    <message>
        <source>Type the device path of a serial port</source>
        <translation>输入串口的设备路径</translation>
    </message>
    <message>
        <source>%1 is not there: using %2, the only USB serial device</source>
        <translation>%1 不存在：改用 %2，这是唯一的 USB 串口设备</translation>
    </message>
    <message>
        <source>Use the serial port %1</source>
        <translation>使用串口 %1</translation>
    </message>
    <message>
        <source>(not present)</source>
        <translation>(未连接)</translation>
    </message>
    <message>
        <source>Other Port</source>
        <translation>其他端口</translation>
    </message>
    <message>
        <source>Device path of the serial port:</source>
        <translation>串口的设备路径：</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a serial port.

Type a device path such as /dev/ttyUSB0, or choose COM1 to COM4.</source>
        <translation>&quot;%1&quot; 不是串口。

请输入设备路径，例如 /dev/ttyUSB0，或选择 COM1 至 COM4。</translation>
    </message>
    <message>
        <source>Read From Radio</source>
        <translation>读取电台数据</translation>
    </message>
    <message>
        <source>&amp;Back Up Radio Before Writing</source>
        <translation>写入前备份电台(&amp;B)</translation>
    </message>
    <message>
        <source>Read the radio into a backup before each write; if that read fails, nothing is written</source>
        <translation>每次写入前先将电台读取到备份中；若读取失败，则不写入任何数据</translation>
    </message>
    <message>
        <source>&amp;Verify After Writing</source>
        <translation>写入后校验(&amp;V)</translation>
    </message>
    <message>
        <source>Read the radio back after each write and list what it does not hold as written</source>
        <translation>每次写入后回读电台，并列出与写入内容不一致之处</translation>
    </message>
    <message>
        <source>Open &amp;Backup...</source>
        <translation>打开备份(&amp;B)...</translation>
    </message>
    <message>
        <source>Open a copy of what a read or a write moved</source>
        <translation>打开某次读取或写入时保存的数据副本</translation>
    </message>
    <message>
        <source>Save &amp;Communication Log...</source>
        <translation>保存通讯记录(&amp;C)...</translation>
    </message>
    <message>
        <source>Save every byte of the last radio session to a file, for a bug report</source>
        <translation>将上一次与电台通讯的全部字节保存到文件，用于报告问题</translation>
    </message>
    <message>
        <source>Open Backup</source>
        <translation>打开备份</translation>
    </message>
    <message>
        <source>Save Communication Log</source>
        <translation>保存通讯记录</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>所有文件 (*)</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>文本文件 (*.txt)</translation>
    </message>
    <message>
        <source>The communication log could not be saved.

%1</source>
        <translation>无法保存通讯记录。

%1</translation>
    </message>
    <message>
        <source>Optional Features</source>
        <translation>可选功能</translation>
    </message>
    <message>
        <source>Type the name of a serial port, such as COM5</source>
        <translation>请输入串口名称，例如 COM5</translation>
    </message>
    <message>
        <source>Name of the serial port (COM1 to COM256):</source>
        <translation>串口名称（COM1 至 COM256）：</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a serial port.

Type a COM port from COM1 to COM256, such as COM5, or a device name such as \\.\CNCA0.</source>
        <translation>&quot;%1&quot; 不是串口。

请输入 COM1 至 COM256 之间的 COM 端口，例如 COM5，或设备名称，例如 \\.\CNCA0。</translation>
    </message>
</context>
<context>
    <name>zlm5::TransferProgressDialog</name>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Reading Data Progress</source>
        <translation>读取数据进度</translation>
    </message>
    <message>
        <source>Writing Data Progress</source>
        <translation>写入数据进度</translation>
    </message>
    <message>
        <source>Progress：</source>
        <translation>进度：</translation>
    </message>
    <message>
        <source>   Not start yet</source>
        <translation>   尚未开始</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Blocks transferred</source>
        <translation>已传送的数据块</translation>
    </message>
</context>
<context>
    <name>zlm5::app_names</name>
    <message>
        <source>Channel Data (*.sin)</source>
        <translation>频道数据 (*.sin)</translation>
    </message>
</context>
</TS>

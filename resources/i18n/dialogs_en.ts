<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>qv::CDlgAdvPara</name>
    <message>
        <source>修改齿轮比</source>
        <translation>Change gear ratio</translation>
    </message>
    <message>
        <source>截图保存</source>
        <translation>Save screenshot</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>qv::CDlgImportReport</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>qv::CDlgMacPara</name>
    <message>
        <source>截图保存</source>
        <translation>Save screenshot</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>qv::CDlgPltExport</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>qv::CDlgPwdInput</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>qv::CDlgSoftSet</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>qv::CMyDlgBar</name>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>机器状态</source>
        <translation>Machine status</translation>
    </message>
    <message>
        <source>控制</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>开始工作
开始工作</source>
        <translation>Start work
Start work</translation>
    </message>
    <message>
        <source>暂停工作
暂停工作</source>
        <translation>Pause work
Pause work</translation>
    </message>
    <message>
        <source>取消任务
取消任务</source>
        <translation>Cancel the task
Cancel task</translation>
    </message>
    <message>
        <source>清洗喷头
清洗喷头</source>
        <translation>Clean the heads
Clean heads</translation>
    </message>
    <message>
        <source>设置起点为机头位置
设置起点</source>
        <translation>Set the start point at the head position
Set start point</translation>
    </message>
    <message>
        <source>机头回到原点
回原点</source>
        <translation>Return the head to the origin
Origin</translation>
    </message>
    <message>
        <source>全刀</source>
        <translation>Full cut</translation>
    </message>
    <message>
        <source>半刀</source>
        <translation>Half cut</translation>
    </message>
    <message>
        <source>气泵</source>
        <translation>Air pump</translation>
    </message>
    <message>
        <source>机头</source>
        <translation>Head</translation>
    </message>
    <message>
        <source>按住时机头向上移动
上移</source>
        <translation>Move the head up while held
Up</translation>
    </message>
    <message>
        <source>按住时机头向左移动
左移</source>
        <translation>Move the head left while held
Left</translation>
    </message>
    <message>
        <source>按住时机头向下移动
下移</source>
        <translation>Move the head down while held
Down</translation>
    </message>
    <message>
        <source>按住时机头向右移动
右移</source>
        <translation>Move the head right while held
Right</translation>
    </message>
</context>
</TS>

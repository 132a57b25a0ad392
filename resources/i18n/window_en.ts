<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>qv::ui::CMainFrame</name>
    <message>
        <source>计划任务提醒</source>
        <translation>Scheduled task reminder</translation>
    </message>
    <message>
        <source>工具栏</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>添加plt文件</source>
        <translation>Add a PLT file</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>适合屏幕</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <source>在当前页上显示机器将要执行的切割路径、空走和喷墨范围</source>
        <translation>Show on the current page what the machine will do: the cut paths, the moves between them and the inkjet extent</translation>
    </message>
    <message>
        <source>作业预览</source>
        <translation>Job preview</translation>
    </message>
    <message>
        <source>控制面板</source>
        <translation>Control panel</translation>
    </message>
    <message>
        <source>隐藏窗口</source>
        <translation>Hide the window</translation>
    </message>
    <message>
        <source>显示程序信息，版本号和版权</source>
        <translation>Show the program information, version number and copyright</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>打开工作列表</source>
        <translation>Open task list</translation>
    </message>
    <message>
        <source>保存工作列表</source>
        <translation>Save task list</translation>
    </message>
    <message>
        <source>工作列表另存为</source>
        <translation>Save task list as</translation>
    </message>
    <message>
        <source>添加调机文件</source>
        <translation>Add a tuning file</translation>
    </message>
    <message>
        <source>导出列表到plt</source>
        <translation>Export the list to PLT</translation>
    </message>
    <message>
        <source>保存当前列表到一个plt文件</source>
        <translation>Save the current list to one PLT file</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>连接方式</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>网线</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>软件设置</source>
        <translation>Software settings</translation>
    </message>
    <message>
        <source>机器设置</source>
        <translation>Machine settings</translation>
    </message>
    <message>
        <source>设置机器参数</source>
        <translation>Set the machine parameters</translation>
    </message>
    <message>
        <source>机器设置(高级)</source>
        <translation>Machine settings (advanced)</translation>
    </message>
    <message>
        <source>参数说明</source>
        <translation>Parameter manual</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>关于 Quorvane(&amp;A)...</source>
        <translation>&amp;About Quorvane...</translation>
    </message>
    <message>
        <source>HP-GL(*.plt);;All file(*.*)</source>
        <translation>HP-GL(*.plt);;All file(*.*)</translation>
    </message>
    <message>
        <source>平板喷切打印任务(*.ctask)</source>
        <translation>Flatbed print tasks (*.ctask)</translation>
    </message>
    <message>
        <source>关于 Quorvane</source>
        <translation>About Quorvane</translation>
    </message>
    <message>
        <source>Quorvane 平板喷切输出中心 版本 %1
发布日期 %2</source>
        <translation>Quorvane flatbed print and cut output centre, version %1
Released %2</translation>
    </message>
</context>
<context>
    <name>qv::ui::CMyListView</name>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>自动开始</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>手动开始</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>已完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>移至最前</source>
        <translation>Move to front</translation>
    </message>
    <message>
        <source>删除“已完成”</source>
        <translation>Delete &quot;Done&quot;</translation>
    </message>
    <message>
        <source>删除	DEL</source>
        <translation>Delete	DEL</translation>
    </message>
    <message>
        <source>导入报告...</source>
        <translation>Import report...</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_HK">
<context>
    <name>MainWindow</name>
    <message>
        <source>普通用户没有使用此应用的权限。</source>
        <translation>普通用戶沒有使用此應用的權限。</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>確認</translation>
    </message>
</context>
</TS>

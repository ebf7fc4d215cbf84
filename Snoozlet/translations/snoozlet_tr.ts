<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR">
<context>
    <name>XdgLoginItem</name>
    <message>
        <source>The program’s path holds a line break and can’t start at login.</source>
        <translation>Programın yolunda satır sonu var; oturum açılışında başlatılamaz.</translation>
    </message>
    <message>
        <source>Couldn’t remove %1: %2</source>
        <translation>%1 silinemedi: %2</translation>
    </message>
    <message>
        <source>Couldn’t create the folder %1: %2</source>
        <translation>%1 klasörü oluşturulamadı: %2</translation>
    </message>
    <message>
        <source>Couldn’t write %1: %2</source>
        <translation>%1 yazılamadı: %2</translation>
    </message>
</context>
</TS>

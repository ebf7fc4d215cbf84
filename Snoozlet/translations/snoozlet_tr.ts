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
<context>
    <name>snoozlet::AppModel</name>
    <message>
        <source>Done. Snoozlet kept the previous values; you can undo this in Sleep settings.</source>
        <translation>Tamam. Snoozlet önceki değerleri sakladı; bunu Uyku ayarlarından geri alabilirsin.</translation>
    </message>
    <message>
        <source>macOS didn’t accept every change. Nothing else was touched.</source>
        <translation>macOS her değişikliği kabul etmedi. Başka hiçbir şeye dokunulmadı.</translation>
    </message>
    <message>
        <source>Snoozlet couldn’t record this change: %1</source>
        <translation>Snoozlet bu değişikliği kaydedemedi: %1</translation>
    </message>
    <message>
        <source>Cancelled. Nothing was changed.</source>
        <translation>İptal edildi. Hiçbir şey değişmedi.</translation>
    </message>
    <message>
        <source>Dry run: nothing was changed. It would have run: %1</source>
        <translation>Deneme çalıştırması: hiçbir şey değişmedi. Şunu çalıştıracaktı: %1</translation>
    </message>
</context>
</TS>

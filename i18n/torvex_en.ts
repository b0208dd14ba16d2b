<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CalibrationSetting</name>
    <message>
        <source>未設定</source>
        <translation>Not set</translation>
    </message>
    <message>
        <source>校正予定日は%1年%2月%3日です。</source>
        <translation>The instrument is due for calibration on %1-%2-%3.</translation>
    </message>
    <message>
        <source>
校正予定日を過ぎました。
校正が終わりましたら校正時期お知らせ機能の設定を更新してください。</source>
        <translation>
The calibration due date has passed.
After the calibration, update the calibration reminder settings.</translation>
    </message>
    <message>
        <source>[試験器情報]
型式: </source>
        <translation>[Instrument]
Model: </translation>
    </message>
    <message>
        <source>
シリアル番号: </source>
        <translation>
Serial number: </translation>
    </message>
    <message>
        <source>[連絡先]
</source>
        <translation>[Contact]
</translation>
    </message>
    <message>
        <source>校正時期お知らせ</source>
        <translation>Calibration Reminder</translation>
    </message>
    <message>
        <source>今後このメッセージを表示しない。</source>
        <translation>Do not show this message again.</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>現在のステップ数は%1ステップです。
ステップ数が%2以下となるように設定を変更してください。
</source>
        <translation>The test now has %1 steps.
Change the settings so that it has %2 steps or fewer.
</translation>
    </message>
</context>
<context>
    <name>CodeTable</name>
    <message>
        <source>単相</source>
        <translation>Single-phase</translation>
    </message>
    <message>
        <source>三相</source>
        <translation>Three-phase</translation>
    </message>
    <message>
        <source>非同期</source>
        <translation>Async</translation>
    </message>
    <message>
        <source>同期</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>FAIL</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>PASS</translation>
    </message>
    <message>
        <source>単独</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>スイープ</source>
        <translation>Sweep</translation>
    </message>
    <message>
        <source>複数</source>
        <translation>List</translation>
    </message>
    <message>
        <source>開始：</source>
        <translation>Start: </translation>
    </message>
    <message>
        <source>終了：</source>
        <translation>Stop: </translation>
    </message>
    <message>
        <source>刻み：</source>
        <translation>Step: </translation>
    </message>
</context>
<context>
    <name>ConditionChange</name>
    <message>
        <source>設定を変更すると試験リストの判定やコメントが初期化されます。
OKをクリックすると変更が可能となりますがよろしいですか？</source>
        <translation>Changing the settings clears the judgments and comments of the step list.
Click OK to allow the change. Continue?</translation>
    </message>
</context>
<context>
    <name>ContactDefaults</name>
    <message>
        <source>Kelvora株式会社</source>
        <translation>Kelvora Corporation</translation>
    </message>
    <message>
        <source>EMC機器サービス部 校正センター</source>
        <translation>EMC Instrument Service, Calibration Centre</translation>
    </message>
</context>
<context>
    <name>DataFile</name>
    <message>
        <source>TORVEX用リモートコントロールソフトのデータではありません</source>
        <translation>This is not a data file of the TORVEX remote control software</translation>
    </message>
    <message>
        <source>このソフトよりも新しいバージョンのソフトで作成されたファイルの為、ロードできません</source>
        <translation>The file was made by a newer version of the software and cannot be loaded</translation>
    </message>
    <message>
        <source>アプリケーション起動時の試験器モデルとデータのモデルが一致しません</source>
        <translation>The model of the data does not match the instrument model chosen at start-up</translation>
    </message>
    <message>
        <source>予期しないファイル形式です。</source>
        <translation>Unexpected file format.</translation>
    </message>
</context>
<context>
    <name>ExecData</name>
    <message>
        <source>テストレベル</source>
        <translation>Test level</translation>
    </message>
    <message>
        <source>極性</source>
        <translation>Polarity</translation>
    </message>
    <message>
        <source>電圧[V]</source>
        <translation>Voltage[V]</translation>
    </message>
    <message>
        <source>周波数[kHz]</source>
        <translation>Spike freq.[kHz]</translation>
    </message>
    <message>
        <source>ﾊﾟﾙｽ数[個]</source>
        <translation>Pulses</translation>
    </message>
    <message>
        <source>ﾊﾞｰｽﾄ期間[ms]</source>
        <translation>Burst duration[ms]</translation>
    </message>
    <message>
        <source>ﾊﾞｰｽﾄ周期[ms]</source>
        <translation>Burst period[ms]</translation>
    </message>
    <message>
        <source>試験時間</source>
        <translation>Test time</translation>
    </message>
    <message>
        <source>出力</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>出力詳細</source>
        <translation>Output detail</translation>
    </message>
    <message>
        <source>印加相</source>
        <translation>Coupling</translation>
    </message>
    <message>
        <source>印加相スイープ</source>
        <translation>Coupling sweep</translation>
    </message>
    <message>
        <source>ライン同期</source>
        <translation>Line sync</translation>
    </message>
    <message>
        <source>位相角[°]</source>
        <translation>Phase angle[°]</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Judgment</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>極性反転</source>
        <translation>Alternating polarity</translation>
    </message>
    <message>
        <source>パルス連続出力</source>
        <translation>Continuous pulses</translation>
    </message>
    <message>
        <source>周波数変調</source>
        <translation>Frequency modulation</translation>
    </message>
    <message>
        <source>外部トリガ入力</source>
        <translation>External trigger</translation>
    </message>
    <message>
        <source>試験名</source>
        <translation>Test name</translation>
    </message>
</context>
<context>
    <name>InstrumentThread</name>
    <message>
        <source>TORVEX 未接続</source>
        <translation>TORVEX not connected</translation>
    </message>
    <message>
        <source>%1 %2&#x3000;再送 %3&#x3000;失敗 %4</source>
        <translation>%1 %2   repeats %3   failed %4</translation>
    </message>
    <message>
        <source>応答あり</source>
        <translation>answering</translation>
    </message>
    <message>
        <source>応答なし</source>
        <translation>not answering</translation>
    </message>
</context>
<context>
    <name>Journal</name>
    <message>
        <source>試験ジャーナルを開けません。試験は続けられますが、結果はジャーナルに記録されません。
%1</source>
        <translation>The test journal cannot be opened. Tests can go on, but their results are not journalled.
%1</translation>
    </message>
    <message>
        <source>試験ジャーナルに書き込めません。試験は続けられますが、結果はジャーナルに記録されません。
%1</source>
        <translation>The test journal cannot be written. Tests can go on, but their results are not journalled.
%1</translation>
    </message>
    <message>
        <source>試験ジャーナルがデータベースとして読めないため、%1 として残し、新しいジャーナルを作りました。</source>
        <translation>The test journal could not be read as a database: it was kept as %1 and a new journal was started.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>--lang needs ja or en</source>
        <translation>--lang needs ja or en</translation>
    </message>
    <message>
        <source>--lang takes ja or en, not &apos;%1&apos;</source>
        <translation>--lang takes ja or en, not &apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>ManualLocation</name>
    <message>
        <source>ja</source>
        <comment>language code of the operator&apos;s manual to open</comment>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>PortAccess</name>
    <message>
        <source>the device does not exist</source>
        <translation>the device does not exist</translation>
    </message>
    <message>
        <source>check that the cable or USB adapter is plugged in and the path is right</source>
        <translation>check that the cable or USB adapter is plugged in and the path is right</translation>
    </message>
    <message>
        <source>you were added to the group &quot;%1&quot;, but this login does not have it yet</source>
        <translation>you were added to the group &quot;%1&quot;, but this login does not have it yet</translation>
    </message>
    <message>
        <source>log out and log in again (or restart the computer)</source>
        <translation>log out and log in again (or restart the computer)</translation>
    </message>
    <message>
        <source>the device belongs to the group &quot;%1&quot; and you are not a member</source>
        <translation>the device belongs to the group &quot;%1&quot; and you are not a member</translation>
    </message>
    <message>
        <source>run: sudo usermod -aG %1 $USER, then log out and log in again</source>
        <translation>run: sudo usermod -aG %1 $USER, then log out and log in again</translation>
    </message>
    <message>
        <source>the device&apos;s permissions (%1, group &quot;%2&quot;) do not let you read and write it</source>
        <translation>the device&apos;s permissions (%1, group &quot;%2&quot;) do not let you read and write it</translation>
    </message>
    <message>
        <source>ask the administrator to give the group &quot;%1&quot; read and write access (a udev rule) and to add you to it</source>
        <translation>ask the administrator to give the group &quot;%1&quot; read and write access (a udev rule) and to add you to it</translation>
    </message>
    <message>
        <source>the device is in use by process %1</source>
        <translation>the device is in use by process %1</translation>
    </message>
    <message>
        <source>the device is in use by process %1 (%2)</source>
        <translation>the device is in use by process %1 (%2)</translation>
    </message>
    <message>
        <source>close that program (another TORVEX_Pilot, a terminal program) and try again</source>
        <translation>close that program (another TORVEX_Pilot, a terminal program) and try again</translation>
    </message>
</context>
<context>
    <name>Reconnect</name>
    <message>
        <source>アプリケーション起動時と機器モデルが異なります。
接続する場合はアプリケーションを再起動してください。</source>
        <translation>The instrument model differs from the one at start-up.
Restart the application to connect it.</translation>
    </message>
    <message>
        <source> 未接続</source>
        <translation> Not connected</translation>
    </message>
</context>
<context>
    <name>ReportWriter</name>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>印加相</source>
        <translation>Coupling</translation>
    </message>
    <message>
        <source>企業名</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>試験場所</source>
        <translation>Test site</translation>
    </message>
    <message>
        <source>品名/型名</source>
        <translation>EUT / model</translation>
    </message>
    <message>
        <source>シリアル番号</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>試験者名</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>規格名</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>試験日</source>
        <translation>Test date</translation>
    </message>
    <message>
        <source>試験時刻</source>
        <translation>Test time</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>湿度</source>
        <translation>Humidity</translation>
    </message>
    <message>
        <source>気圧</source>
        <translation>Air pressure</translation>
    </message>
    <message>
        <source>試験器</source>
        <translation>Generator</translation>
    </message>
    <message>
        <source>機器</source>
        <translation>Equipment</translation>
    </message>
    <message>
        <source>型名</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>最終校正日</source>
        <translation>Last calibration</translation>
    </message>
    <message>
        <source>校正周期</source>
        <translation>Calibration interval</translation>
    </message>
    <message>
        <source>オプション%1</source>
        <translation>Option %1</translation>
    </message>
    <message>
        <source>試験タイプ</source>
        <translation>Test type</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>総合判定</source>
        <translation>Overall judgment</translation>
    </message>
    <message>
        <source>試験条件</source>
        <translation>Test conditions</translation>
    </message>
    <message>
        <source>試験内容</source>
        <translation>Test steps</translation>
    </message>
    <message>
        <source>試験データを保存できません。
%1
保存先：%2</source>
        <translation>The test data cannot be saved.
%1
Target: %2</translation>
    </message>
    <message>
        <source>試験データを開くプログラムが見つかりません。
試験データは次の場所に保存されました。
%1</source>
        <translation>No program was found to open the test data.
The test data was saved here:
%1</translation>
    </message>
</context>
<context>
    <name>RunEngine</name>
    <message>
        <source> 未接続</source>
        <translation> Not connected</translation>
    </message>
    <message>
        <source>エラーが発生したため試験を停止しました。</source>
        <translation>The test was stopped because of an error.</translation>
    </message>
    <message>
        <source>実行する試験データがありません。</source>
        <translation>There is no test to run.</translation>
    </message>
    <message>
        <source>試験を開始します。</source>
        <translation>The test will start.</translation>
    </message>
    <message>
        <source>除電中です。</source>
        <translation>The generator is discharging.</translation>
    </message>
    <message>
        <source>TORVEXと通信できません。</source>
        <translation>Cannot communicate with the TORVEX.</translation>
    </message>
    <message>
        <source>試験器本体の画面でエラー内容を確認してください。</source>
        <translation>Check the error on the generator&apos;s own display.</translation>
    </message>
    <message>
        <source>試験が終了しました。</source>
        <translation>The test has finished.</translation>
    </message>
    <message>
        <source>次のステップを実行する場合は試験開始ボタンをクリックしてください。また、リストをクリックすることで実行するステップを変更できます。</source>
        <translation>Click START to run the next step. Click the list to choose another step to run.</translation>
    </message>
    <message>
        <source>No.%1のステップ%2が終了しました。
%3</source>
        <translation>No.%1, step %2 has finished.
%3</translation>
    </message>
    <message>
        <source>ステップ%1が終了しました。
%2</source>
        <translation>Step %1 has finished.
%2</translation>
    </message>
    <message>
        <source>試験を停止しました。</source>
        <translation>The test was stopped.</translation>
    </message>
    <message>
        <source>EUT LINE を ON にします。
よろしいですか？</source>
        <translation>The EUT LINE will be switched on.
Continue?</translation>
    </message>
    <message>
        <source>時間以上</source>
        <translation> hours or more</translation>
    </message>
</context>
<context>
    <name>SequenceList</name>
    <message>
        <source>No.%1の試験をリストから削除します。
よろしいですか？</source>
        <translation>Test No.%1 will be removed from the list.
Continue?</translation>
    </message>
    <message>
        <source>全ての試験をリストから削除します。
よろしいですか？</source>
        <translation>Every test will be removed from the list.
Continue?</translation>
    </message>
</context>
<context>
    <name>SequencePreview</name>
    <message>
        <source>極性反転</source>
        <translation>Alternating polarity</translation>
    </message>
    <message>
        <source>パルス連続出力</source>
        <translation>Continuous pulses</translation>
    </message>
    <message>
        <source>周波数変調</source>
        <translation>Frequency modulation</translation>
    </message>
    <message>
        <source>外部トリガ入力</source>
        <translation>External trigger</translation>
    </message>
</context>
<context>
    <name>SequenceTableModel</name>
    <message>
        <source>試験名</source>
        <translation>Test name</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Judgment</translation>
    </message>
</context>
<context>
    <name>SettingDataText</name>
    <message>
        <source>1相毎</source>
        <translation>One line at a time</translation>
    </message>
    <message>
        <source>全組合せ</source>
        <translation>Every combination</translation>
    </message>
</context>
<context>
    <name>SettingsLogic</name>
    <message>
        <source>----年--月--日</source>
        <translation>----/--/--</translation>
    </message>
    <message>
        <source>%1年%2月%3日</source>
        <translation>%1/%2/%3</translation>
    </message>
</context>
<context>
    <name>TabLogic</name>
    <message>
        <source>判定やコメントは設定の保存機能では保存されません。
記録には試験データ出力機能をご利用ください。
アプリケーションを終了してもよろしいですか？</source>
        <translation>Judgments and comments are not kept when the settings are saved.
Write the test data to record them.
Exit the application?</translation>
    </message>
</context>
<context>
    <name>TestLog</name>
    <message>
        <source>SETTINGSタブの試験ログ保存設定を確認してください。</source>
        <translation>Check the test log setting on the SETTINGS tab.</translation>
    </message>
</context>
<context>
    <name>Tooltips</name>
    <message>
        <source>
CTRLキーを押すことで上の位の値を増減できます。</source>
        <translation>
Hold CTRL to change the next higher digit.</translation>
    </message>
    <message>
        <source>
SHIFTキーを押すことで2つ上の位の値を増減できます。</source>
        <translation>
Hold SHIFT to change the digit two places higher.</translation>
    </message>
    <message>
        <source>START ≦ STOPに制限されます。
</source>
        <translation>START ≤ STOP.
</translation>
    </message>
    <message>
        <source>パルス連続出力時は設定できません。</source>
        <translation>Not available with continuous pulses.</translation>
    </message>
    <message>
        <source>最小値：200V
最大値：5000V
ステップ：10V</source>
        <translation>Min.: 200 V
Max.: 5000 V
Step: 10 V</translation>
    </message>
    <message>
        <source>パルス連続出力ONにより周波数によって最大値が異なります。
最小値：200v
最大値：1000V(周波数10kHz以下時)
            2000V(周波数4kHz以下時)
            5000V(周波数1kHz以下時)
ステップ：10v</source>
        <translation>With continuous pulses the maximum depends on the spike frequency.
Min.: 200 V
Max.: 1000 V (up to 10 kHz)
          2000 V (up to 4 kHz)
          5000 V (up to 1 kHz)
Step: 10 V</translation>
    </message>
    <message>
        <source>パルス連続出力ONにより周波数によって最大値が異なります。
最小値：200V
最大値：1000V(周波数10kHz以下時)
            2000V(周波数4kHz以下時)
            5000V(周波数1kHz以下時)
ステップ：10V</source>
        <translation>With continuous pulses the maximum depends on the spike frequency.
Min.: 200 V
Max.: 1000 V (up to 10 kHz)
          2000 V (up to 4 kHz)
          5000 V (up to 1 kHz)
Step: 10 V</translation>
    </message>
    <message>
        <source>最小値：0.1kHz
最大値：2000kHz
ステップ：0.01kHz(0.1kHz～1.0kHz時)
               0.1kHz(1.0kHz～10kHz時)
               1kHz(10kHz～100kHz時)
               10kHz(100kHz～1000kHz時)
               100kHz(1000kHz～2000kHz時)</source>
        <translation>Min.: 0.1 kHz
Max.: 2000 kHz
Step: 0.01 kHz (0.1–1.0 kHz)
          0.1 kHz (1.0–10 kHz)
          1 kHz (10–100 kHz)
          10 kHz (100–1000 kHz)
          100 kHz (1000–2000 kHz)</translation>
    </message>
    <message>
        <source>
変更によりパルス数やバースト期間が自動修正される場合があります。</source>
        <translation>
A change may correct the pulses per burst and the burst duration.</translation>
    </message>
    <message>
        <source>パルス連続出力ONにより電圧によって最大値が異なります。
最小値：0.1kHz
最大値：10kHz(電圧200V～1000V時)
            4kHz(電圧1010V～2000V時)
            1kHz(電圧2010V～5000V時)
ステップ：0.01kHz(0.1kHz～1.0kHz時)
               0.1kHz(1.0kHz～10kHz時)</source>
        <translation>With continuous pulses the maximum depends on the voltage.
Min.: 0.1 kHz
Max.: 10 kHz (200–1000 V)
          4 kHz (1010–2000 V)
          1 kHz (2010–5000 V)
Step: 0.01 kHz (0.1–1.0 kHz)
          0.1 kHz (1.0–10 kHz)</translation>
    </message>
    <message>
        <source>最小値：0°
最大値：360°
ステップ：1°</source>
        <translation>Min.: 0°
Max.: 360°
Step: 1°</translation>
    </message>
    <message>
        <source>最小値：10V
最大値：5000V
ステップ：10V</source>
        <translation>Min.: 10 V
Max.: 5000 V
Step: 10 V</translation>
    </message>
    <message>
        <source>周波数範囲0.1kHz～1.00kHz時：
最小値：0.01kHz 最大値：0.9kHz ステップ：0.01kHz
周波数範囲1.0kHz～10.0kHz時：
最小値：0.1kHz 最大値：9kHz ステップ：0.1kHz
周波数範囲10kHz～100kHz時：
最小値：1kHz 最大値：90kHz ステップ：1kHz
周波数範囲100kHz～1000kHz時：
最小値：10kHz 最大値：900kHz ステップ：10kHz
周波数範囲1000kHz～2000kHz時：
最小値：100kHz 最大値：1000kHz ステップ：100kHz</source>
        <translation>Frequencies 0.1–1.00 kHz:
Min.: 0.01 kHz  Max.: 0.9 kHz  Step: 0.01 kHz
Frequencies 1.0–10.0 kHz:
Min.: 0.1 kHz  Max.: 9 kHz  Step: 0.1 kHz
Frequencies 10–100 kHz:
Min.: 1 kHz  Max.: 90 kHz  Step: 1 kHz
Frequencies 100–1000 kHz:
Min.: 10 kHz  Max.: 900 kHz  Step: 10 kHz
Frequencies 1000–2000 kHz:
Min.: 100 kHz  Max.: 1000 kHz  Step: 100 kHz</translation>
    </message>
    <message>
        <source>最小値：1°
最大値：360°
ステップ：1°</source>
        <translation>Min.: 1°
Max.: 360°
Step: 1°</translation>
    </message>
    <message>
        <source>最短：1秒
最長：10分(極性反転ONにより)</source>
        <translation>Shortest: 1 s
Longest: 10 min (with alternating polarity)</translation>
    </message>
    <message>
        <source>最短：1秒
最長：10分(パルス連続出力ONにより)</source>
        <translation>Shortest: 1 s
Longest: 10 min (with continuous pulses)</translation>
    </message>
    <message>
        <source>最短：1秒
最長：9時間59分59秒</source>
        <translation>Shortest: 1 s
Longest: 9 h 59 min 59 s</translation>
    </message>
    <message>
        <source>最小値：500ms(極性反転ONにより)
最大値：1000ms
ステップ：10ms
変更によりパルス数やバースト期間が自動修正される場合があります。</source>
        <translation>Min.: 500 ms (with alternating polarity)
Max.: 1000 ms
Step: 10 ms
A change may correct the pulses per burst and the burst duration.</translation>
    </message>
    <message>
        <source>最小値：10ms
最大値：1000ms
ステップ：10ms
変更によりパルス数やバースト期間が自動修正される場合があります。</source>
        <translation>Min.: 10 ms
Max.: 1000 ms
Step: 10 ms
A change may correct the pulses per burst and the burst duration.</translation>
    </message>
    <message>
        <source>極性反転ONにより
最大値は周波数・バースト周期・バースト休止期間により制限されます。
最小値：1
最大値：</source>
        <translation>With alternating polarity
the maximum is limited by the spike frequency, the burst period and the burst pause.
Min.: 1
Max.: </translation>
    </message>
    <message>
        <source>
ステップ：1
変更によりバースト期間が自動修正されます。</source>
        <translation>
Step: 1
A change corrects the burst duration.</translation>
    </message>
    <message>
        <source>最大値は周波数・バースト周期により制限されます。
最小値：1
最大値：</source>
        <translation>The maximum is limited by the spike frequency and the burst period.
Min.: 1
Max.: </translation>
    </message>
    <message>
        <source>
ステップ：0.01
変更によりパルス数が自動変更される場合があります。</source>
        <translation>
Step: 0.01
A change may correct the pulses per burst.</translation>
    </message>
    <message>
        <source>最小値は周波数により制限されます。
極性反転ONにより
最大値は周波数・バースト周期・バースト休止期間により制限されます。
最小値：</source>
        <translation>The minimum is limited by the spike frequency.
With alternating polarity
the maximum is limited by the spike frequency, the burst period and the burst pause.
Min.: </translation>
    </message>
    <message>
        <source>
最大値：</source>
        <translation>
Max.: </translation>
    </message>
    <message>
        <source>最小値は周波数により制限されます。
最大値は周波数・バースト周期により制限されます。
最小値：</source>
        <translation>The minimum is limited by the spike frequency.
The maximum is limited by the spike frequency and the burst period.
Min.: </translation>
    </message>
    <message>
        <source>下記の条件を満たす場合に設定できます。
バースト周期：500ms以上
バースト休止期間：100ms以上
試験時間：10分以下
パルス連続出力：OFF</source>
        <translation>Available when:
burst period: 500 ms or more
burst pause: 100 ms or more
test time: 10 min or less
continuous pulses: OFF</translation>
    </message>
    <message>
        <source>下記の条件を満たす場合に設定できます。
電圧200V～1000V時、周波数10kHz以下
電圧1010V～2000V時、周波数4kHz以下
電圧2010V～5000V時、周波数1kHz以下
試験時間：10分以下
極性反転：OFF
外部トリガ：OFF</source>
        <translation>Available when:
200–1000 V: spike frequency 10 kHz or less
1010–2000 V: spike frequency 4 kHz or less
2010–5000 V: spike frequency 1 kHz or less
test time: 10 min or less
alternating polarity: OFF
external trigger: OFF</translation>
    </message>
    <message>
        <source>設定条件に制限はありません。</source>
        <translation>Always available.</translation>
    </message>
    <message>
        <source>下記の条件を満たす場合に設定できます。
パルス連続出力：OFF</source>
        <translation>Available when:
continuous pulses: OFF</translation>
    </message>
</context>
<context>
    <name>TorvexCntl</name>
    <message>
        <source>%1 を開く権限がありません。ユーザーを dialout グループに加え（sudo usermod -aG dialout $USER）、ログインし直してください。</source>
        <translation>You may not open %1. Add the user to the dialout group (sudo usermod -aG dialout $USER) and log in again.</translation>
    </message>
    <message>
        <source>%1 は他のプログラムが使用中です。そのプログラムを終了してから接続し直してください。</source>
        <translation>%1 is in use by another program. Close that program and connect again.</translation>
    </message>
    <message>
        <source>非常停止しました
安全を確認してください

安全を確認したら非常停止ボタンを解除し、本体の電源を入れなおしてください</source>
        <translation>Emergency stop
Make sure everything is safe

Then release the emergency stop button and switch the generator off and on again</translation>
    </message>
    <message>
        <source>システムエラー
修理が必要です

弊社営業所、修理校正センター、またはご購入元へお問合せください</source>
        <translation>System error
Repair is needed

Contact our sales office, the repair and calibration centre or your dealer</translation>
    </message>
    <message>
        <source>ライン同期エラー
試験を開始できません</source>
        <translation>Line sync error
The test cannot start</translation>
    </message>
    <message>
        <source>ライン同期エラー
試験を停止しました</source>
        <translation>Line sync error
The test was stopped</translation>
    </message>
    <message>
        <source>EUT FAIL入力を検出しました</source>
        <translation>EUT FAIL input detected</translation>
    </message>
    <message>
        <source>パルス出力エラー

修理が必要な状態です。弊社営業所、修理校正センター、またはご購入元へお問合せください</source>
        <translation>Pulse output error

Repair is needed. Contact our sales office, the repair and calibration centre or your dealer</translation>
    </message>
    <message>
        <source>FANエラーを検出しました
原因となる要因を排除してください

異物により動作が妨げられている場合、異物を取り除いてください</source>
        <translation>Fan error detected
Remove the cause

If something blocks the fan, remove it</translation>
    </message>
</context>
<context>
    <name>TorvexDoc</name>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>%1 は使用中または読み取り専用のため、書き込めません。</source>
        <translation>%1 cannot be written: it is in use or read-only.</translation>
    </message>
    <message>
        <source>出力先のディスク ドライブの空き容量が不足しています。</source>
        <translation>There is not enough free space on the target drive.</translation>
    </message>
    <message>
        <source>ドキュメントの保存に失敗しました。</source>
        <translation>The document could not be saved.</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All Files (*)</translation>
    </message>
    <message>
        <source>%1
このファイルが見つかりません。
パスとファイル名が正しいかどうか確認してださい。</source>
        <translation>%1
This file was not found.
Check that the path and the file name are right.</translation>
    </message>
    <message>
        <source>ドキュメントを開くことに失敗しました。</source>
        <translation>The document could not be opened.</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>%1 への変更を保存しますか?</source>
        <translation>Save the changes to %1?</translation>
    </message>
    <message>
        <source>無題.tvxs</source>
        <translation>Untitled.tvxs</translation>
    </message>
</context>
<context>
    <name>torvex::CAboutDlg</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>TORVEX用&#x3000;リモートコントロールソフトウェア</source>
        <translation>Remote control software for the TORVEX</translation>
    </message>
</context>
<context>
    <name>torvex::CCouplingPhaseDlg</name>
    <message>
        <source>単独</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>スイープ</source>
        <translation>Sweep</translation>
    </message>
</context>
<context>
    <name>torvex::CCouplingPhaseSweepDlg</name>
    <message>
        <source>1相毎</source>
        <translation>Line by line</translation>
    </message>
    <message>
        <source>全組合せ</source>
        <translation>All combinations</translation>
    </message>
</context>
<context>
    <name>torvex::CExecDlg</name>
    <message>
        <source>試験時間：</source>
        <translation>Test time:</translation>
    </message>
    <message>
        <source>トータル時間：</source>
        <translation>Total time:</translation>
    </message>
    <message>
        <source>残り時間(目安)：</source>
        <translation>Time left (approx.):</translation>
    </message>
    <message>
        <source>ステップ</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>全体</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>ステップの進み具合</source>
        <translation>Progress of the step</translation>
    </message>
    <message>
        <source>試験全体の進み具合</source>
        <translation>Progress of the whole test</translation>
    </message>
    <message>
        <source>試験開始</source>
        <translation>Start test</translation>
    </message>
    <message>
        <source>試験を開始します。試験中に押すと一時停止、もう一度押すと再開します。</source>
        <translation>Starts the test. Pressed during a test it pauses; pressed again it resumes.</translation>
    </message>
    <message>
        <source>試験停止</source>
        <translation>Stop test</translation>
    </message>
    <message>
        <source>EUT電源 LINE</source>
        <translation>EUT supply LINE</translation>
    </message>
    <message>
        <source>被試験機器への電源供給を入り切りします。</source>
        <translation>Switches the supply of the equipment under test (EUT) on and off.</translation>
    </message>
    <message>
        <source>出力ランプ</source>
        <translation>Output lamp</translation>
    </message>
    <message>
        <source>出力中は点滅します。</source>
        <translation>Flashes while the output is on.</translation>
    </message>
    <message>
        <source>経過 %1 / %2</source>
        <translation>Elapsed %1 / %2</translation>
    </message>
    <message>
        <source>%1 / %2 ステップ</source>
        <translation>%1 / %2 steps</translation>
    </message>
    <message>
        <source>%1 / %2 ステップ完了
経過 %3 / %4</source>
        <translation>%1 / %2 steps done
Elapsed %3 / %4</translation>
    </message>
    <message>
        <source>LINE ON</source>
        <translation>LINE ON</translation>
    </message>
    <message>
        <source>LINE OFF</source>
        <translation>LINE OFF</translation>
    </message>
    <message>
        <source>START</source>
        <translation>START</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOP</translation>
    </message>
</context>
<context>
    <name>torvex::CExecListDlg</name>
    <message>
        <source>判定</source>
        <translation>Judgment</translation>
    </message>
    <message>
        <source>電圧 [V]</source>
        <translation>Voltage [V]</translation>
    </message>
    <message>
        <source>極性</source>
        <translation>Polarity</translation>
    </message>
    <message>
        <source>周波数 [kHz]</source>
        <translation>Spike freq. [kHz]</translation>
    </message>
    <message>
        <source>バースト期間 [ms]</source>
        <translation>Burst duration [ms]</translation>
    </message>
    <message>
        <source>印加相</source>
        <translation>Coupling</translation>
    </message>
    <message>
        <source>位相角 [°]</source>
        <translation>Phase angle [°]</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>試験データ出力</source>
        <translation>Write test data</translation>
    </message>
    <message>
        <source>判定一括変更</source>
        <translation>Set all judgments</translation>
    </message>
    <message>
        <source>コメント全削除</source>
        <translation>Delete all comments</translation>
    </message>
    <message>
        <source>ステップ数が1000を超えています。
ステップ数が1000以下となるように設定を変更してください。</source>
        <translation>The test has more than 1000 steps.
Change the settings so that it has 1000 steps or fewer.</translation>
    </message>
    <message>
        <source>現在のステップ数は%1ステップです。
ステップ数が%2以下となるように設定を変更してください。</source>
        <translation>The test now has %1 steps.
Change the settings so that it has %2 steps or fewer.</translation>
    </message>
    <message>
        <source>判定をすべて書き換えます。
よろしいですか？</source>
        <translation>Every judgment will be replaced.
Continue?</translation>
    </message>
    <message>
        <source>コメントをすべて削除します。
よろしいですか？</source>
        <translation>Every comment will be deleted.
Continue?</translation>
    </message>
</context>
<context>
    <name>torvex::CHistoryDlg</name>
    <message>
        <source>すべて</source>
        <translation>All</translation>
    </message>
    <message>
        <source>完了</source>
        <translation>Completed</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>通信断</source>
        <translation>Instrument lost</translation>
    </message>
    <message>
        <source>プログラム終了</source>
        <translation>Program ended</translation>
    </message>
    <message>
        <source>未終了</source>
        <translation>Unfinished</translation>
    </message>
    <message>
        <source>試験履歴</source>
        <translation>Test history</translation>
    </message>
    <message>
        <source>期間</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>ファイル名の一部</source>
        <translation>Part of the file name</translation>
    </message>
    <message>
        <source>～</source>
        <translation>to</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Started</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Ended</translation>
    </message>
    <message>
        <source>タブ</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>型名</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>実行ステップ</source>
        <translation>Steps run</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Judgment</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>試験データ出力</source>
        <translation>Write test data</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>この試験の試験データを作成できません。</source>
        <translation>The test data of this test cannot be made.</translation>
    </message>
</context>
<context>
    <name>torvex::CJudgeDlg</name>
    <message>
        <source>判定</source>
        <translation>Judgment</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
</context>
<context>
    <name>torvex::CMainFrame</name>
    <message>
        <source>無題 - TORVEX_Pilot</source>
        <translation>Untitled - TORVEX_Pilot</translation>
    </message>
    <message>
        <source>試験器との通信状態と、接続してからの再送回数・通信失敗回数です。</source>
        <translation>Whether the instrument answers, and the repeats and failed exchanges since the connection.</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>最近使ったファイル</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>アプリケーションの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ツール バー</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>ツール バー(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>ステータス バー(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>試験履歴(&amp;H)...</source>
        <translation>Test &amp;History...</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報 TORVEX Pilot(&amp;A)...</source>
        <translation>&amp;About TORVEX Pilot...</translation>
    </message>
    <message>
        <source>取扱説明書(&amp;M)</source>
        <translation>Operator&apos;s &amp;Manual</translation>
    </message>
    <message>
        <source>試験データを出力</source>
        <translation>Write the test data</translation>
    </message>
    <message>
        <source>出力</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>準備完了</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>取扱説明書を表示できませんでした</source>
        <translation>The operator&apos;s manual could not be shown</translation>
    </message>
</context>
<context>
    <name>torvex::CManualDlg</name>
    <message>
        <source>読み込み</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>上書き保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>極性反転</source>
        <translation>Alt. polarity</translation>
    </message>
    <message>
        <source>パルス連続出力</source>
        <translation>Continuous</translation>
    </message>
    <message>
        <source>周波数変調</source>
        <translation>Freq. modulation</translation>
    </message>
    <message>
        <source>外部トリガ入力</source>
        <translation>Ext. trigger</translation>
    </message>
    <message>
        <source>極性</source>
        <translation>Polarity</translation>
    </message>
    <message>
        <source>単独</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>スイープ</source>
        <translation>Sweep</translation>
    </message>
    <message>
        <source>＋</source>
        <translation>+</translation>
    </message>
    <message>
        <source>－</source>
        <translation>−</translation>
    </message>
    <message>
        <source>＋ ⇒ －</source>
        <translation>+ ⇒ −</translation>
    </message>
    <message>
        <source>電圧</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>周波数</source>
        <translation>Spike freq.</translation>
    </message>
    <message>
        <source>試験時間</source>
        <translation>Test time</translation>
    </message>
    <message>
        <source>出力先</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>バースト周期</source>
        <translation>Burst period</translation>
    </message>
    <message>
        <source>パルス数</source>
        <translation>Pulses per burst</translation>
    </message>
    <message>
        <source>バースト期間</source>
        <translation>Burst duration</translation>
    </message>
    <message>
        <source>ライン同期</source>
        <translation>Line sync</translation>
    </message>
    <message>
        <source>同期</source>
        <translation>Synchronous</translation>
    </message>
    <message>
        <source>非同期</source>
        <translation>Asynchronous</translation>
    </message>
    <message>
        <source>位相角</source>
        <translation>Phase angle</translation>
    </message>
    <message>
        <source>CDN   印加相</source>
        <translation>CDN coupling</translation>
    </message>
    <message>
        <source>単相</source>
        <translation>Single-phase</translation>
    </message>
    <message>
        <source>三相</source>
        <translation>Three-phase</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>FUNCTION SETUP</source>
        <translation>FUNCTION SETUP</translation>
    </message>
    <message>
        <source>CDN OUT</source>
        <translation>CDN OUT</translation>
    </message>
    <message>
        <source>PULSE OUT</source>
        <translation>PULSE OUT</translation>
    </message>
</context>
<context>
    <name>torvex::CPlanChartWidget</name>
    <message>
        <source>試験計画</source>
        <translation>Test plan</translation>
    </message>
    <message>
        <source>ステップごとの電圧（棒）と周波数（線）。幅は試験時間、色は判定、枠は現在のステップ。</source>
        <translation>Voltage (bars) and spike frequency (line) of each step. Width is the test time, colour the judgment, the frame the current step.</translation>
    </message>
    <message>
        <source>電圧 最大 %1 V</source>
        <translation>Voltage max. %1 V</translation>
    </message>
    <message>
        <source>周波数 %1 kHz</source>
        <translation>Frequency %1 kHz</translation>
    </message>
    <message>
        <source>周波数 %1 – %2 kHz</source>
        <translation>Frequency %1 – %2 kHz</translation>
    </message>
    <message>
        <source>Step %1
%2 V  %3 kHz  %4
%5</source>
        <translation>Step %1
%2 V  %3 kHz  %4
%5</translation>
    </message>
</context>
<context>
    <name>torvex::CSequenceDlg</name>
    <message>
        <source>試験名</source>
        <translation>Test name</translation>
    </message>
    <message>
        <source>極性</source>
        <translation>Polarity</translation>
    </message>
    <message>
        <source>電圧</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>周波数</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>試験時間</source>
        <translation>Test time</translation>
    </message>
    <message>
        <source>出力先</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>バースト周期</source>
        <translation>Burst period</translation>
    </message>
    <message>
        <source>パルス数</source>
        <translation>Pulses/burst</translation>
    </message>
    <message>
        <source>バースト期間</source>
        <translation>Burst duration</translation>
    </message>
    <message>
        <source>ライン同期</source>
        <translation>Line sync</translation>
    </message>
    <message>
        <source>同期</source>
        <translation>Synchronous</translation>
    </message>
    <message>
        <source>非同期</source>
        <translation>Asynchronous</translation>
    </message>
    <message>
        <source>位相角</source>
        <translation>Phase angle</translation>
    </message>
    <message>
        <source>CDN   印加相</source>
        <translation>CDN coupling</translation>
    </message>
    <message>
        <source>単相</source>
        <translation>Single-phase</translation>
    </message>
    <message>
        <source>三相</source>
        <translation>Three-phase</translation>
    </message>
    <message>
        <source>PREVIEW</source>
        <translation>PREVIEW</translation>
    </message>
    <message>
        <source>FUNCTION</source>
        <translation>FUNCTION</translation>
    </message>
    <message>
        <source>CDN OUT</source>
        <translation>CDN OUT</translation>
    </message>
    <message>
        <source>PULSE OUT</source>
        <translation>PULSE OUT</translation>
    </message>
</context>
<context>
    <name>torvex::CSequenceListDlg</name>
    <message>
        <source>追加方法</source>
        <translation>Add as</translation>
    </message>
    <message>
        <source>上書き</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>挿入</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>最後尾</source>
        <translation>Append</translation>
    </message>
    <message>
        <source>シーケンスファイル</source>
        <translation>Sequence file</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>上書き保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>全削除</source>
        <translation>Delete All</translation>
    </message>
    <message>
        <source>LOAD</source>
        <translation>LOAD</translation>
    </message>
</context>
<context>
    <name>torvex::CSettingsDlg</name>
    <message>
        <source>フォルダ設定</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>接続状態</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>デモモード</source>
        <translation>Demo mode</translation>
    </message>
    <message>
        <source>再接続</source>
        <translation>Reconnect</translation>
    </message>
    <message>
        <source>機器を探して接続し直します。</source>
        <translation>Searches for the instrument and connects it again.</translation>
    </message>
    <message>
        <source>その他の機能設定</source>
        <translation>Other settings</translation>
    </message>
    <message>
        <source>カーソルを合わせたときに設定情報を吹き出し表示する</source>
        <translation>Show the setting ranges in a tooltip under the mouse pointer</translation>
    </message>
    <message>
        <source>ステップごとに試験を停止する</source>
        <translation>Stop the test after every step</translation>
    </message>
    <message>
        <source>校正時期お知らせ機能設定</source>
        <translation>Calibration reminder</translation>
    </message>
    <message>
        <source>TORVEX   型式</source>
        <translation>TORVEX model</translation>
    </message>
    <message>
        <source>シリアル番号</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>校正予定日の</source>
        <translation>Remind</translation>
    </message>
    <message>
        <source>0～999日</source>
        <translation>0–999 days</translation>
    </message>
    <message>
        <source>日前からお知らせ</source>
        <translation>days before the due date</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>前回校正日：</source>
        <translation>Last calibration:</translation>
    </message>
    <message>
        <source>校正予定日：</source>
        <translation>Calibration due:</translation>
    </message>
    <message>
        <source>カレンダーで選んだ日を前回校正日にします。</source>
        <translation>Makes the day chosen in the calendar the last calibration date.</translation>
    </message>
    <message>
        <source>カレンダーで選んだ日を校正予定日にします。</source>
        <translation>Makes the day chosen in the calendar the calibration due date.</translation>
    </message>
    <message>
        <source>試験ログ保存設定</source>
        <translation>Test log</translation>
    </message>
    <message>
        <source>試験ログ保存機能ON</source>
        <translation>Save a test log</translation>
    </message>
    <message>
        <source>試験データ出力用試験情報</source>
        <translation>Test information for the test data</translation>
    </message>
    <message>
        <source>企業名</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>試験場所</source>
        <translation>Test site</translation>
    </message>
    <message>
        <source>品名/型名</source>
        <translation>EUT / model</translation>
    </message>
    <message>
        <source>試験者名</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>規格名</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>湿度</source>
        <translation>Humidity</translation>
    </message>
    <message>
        <source>気圧</source>
        <translation>Air pressure</translation>
    </message>
    <message>
        <source>試験機器</source>
        <translation>Test equipment</translation>
    </message>
    <message>
        <source>機器</source>
        <translation>Equipment</translation>
    </message>
    <message>
        <source>型名</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>最終校正日</source>
        <translation>Last calibration</translation>
    </message>
    <message>
        <source>校正周期</source>
        <translation>Calibration interval</translation>
    </message>
    <message>
        <source>試験器</source>
        <translation>Generator</translation>
    </message>
    <message>
        <source>オプション1</source>
        <translation>Option 1</translation>
    </message>
    <message>
        <source>オプション2</source>
        <translation>Option 2</translation>
    </message>
    <message>
        <source>オプション3</source>
        <translation>Option 3</translation>
    </message>
    <message>
        <source>EFT/B試験器</source>
        <translation>EFT/B generator</translation>
    </message>
    <message>
        <source>接続</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>未接続</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>前回校正日を変更してもよろしいですか。
変更すると校正予定日が前回校正日の1年後に自動で変更されます。</source>
        <translation>Change the last calibration date?
The calibration due date then moves to one year after it.</translation>
    </message>
    <message>
        <source>表示言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>自動：システムの言語が日本語なら日本語、それ以外は英語で表示します。</source>
        <translation>Automatic: Japanese when the system language is Japanese, English otherwise.</translation>
    </message>
    <message>
        <source>次回の起動から有効になります。</source>
        <translation>Takes effect at the next start.</translation>
    </message>
</context>
<context>
    <name>torvex::CSplashDlg</name>
    <message>
        <source>TORVEX Remote Control Software</source>
        <translation>TORVEX Remote Control Software</translation>
    </message>
</context>
<context>
    <name>torvex::CStandardDlg</name>
    <message>
        <source>テストレベル</source>
        <translation>Test level</translation>
    </message>
    <message>
        <source>レベル１</source>
        <translation>Level 1</translation>
    </message>
    <message>
        <source>レベル２</source>
        <translation>Level 2</translation>
    </message>
    <message>
        <source>レベル３</source>
        <translation>Level 3</translation>
    </message>
    <message>
        <source>レベル４</source>
        <translation>Level 4</translation>
    </message>
    <message>
        <source>極性</source>
        <translation>Polarity</translation>
    </message>
    <message>
        <source>＋</source>
        <translation>+</translation>
    </message>
    <message>
        <source>－</source>
        <translation>−</translation>
    </message>
    <message>
        <source>電圧</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>周波数</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>試験時間</source>
        <translation>Test time</translation>
    </message>
    <message>
        <source>バースト周期</source>
        <translation>Burst period</translation>
    </message>
    <message>
        <source>パルス数</source>
        <translation>Pulses/burst</translation>
    </message>
    <message>
        <source>バースト期間</source>
        <translation>Burst duration</translation>
    </message>
    <message>
        <source>出力先</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>CDN 印加相</source>
        <translation>CDN coupling</translation>
    </message>
    <message>
        <source>単相</source>
        <translation>Single-phase</translation>
    </message>
    <message>
        <source>三相</source>
        <translation>Three-phase</translation>
    </message>
    <message>
        <source>CDN OUT</source>
        <translation>CDN OUT</translation>
    </message>
    <message>
        <source>PULSE OUT</source>
        <translation>PULSE OUT</translation>
    </message>
</context>
<context>
    <name>torvex::CTorvexApp</name>
    <message>
        <source>アプリケーションはすでに起動しています。</source>
        <translation>The application is already running.</translation>
    </message>
    <message>
        <source>校正予定日が設定されていません。
お知らせ機能を利用する場合は校正予定日を設定してください。

本ソフトウェアではマニュアルテストまたはシーケンステストを開始するたびに試験ログを保存します。
必要ない場合は試験ログ保存設定のチェックを外してください。</source>
        <translation>The calibration due date is not set.
Set it to use the calibration reminder.

This program saves a test log every time a MANUAL or SEQUENCE test starts.
If you do not need it, clear the test log setting on the SETTINGS tab.</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>前回の試験は終了しないまま中断されました。
開始：%1
ファイル：%2（%3）

この試験の条件と判定・コメントを復元しますか？</source>
        <translation>The last test was interrupted before it ended.
Started: %1
File: %2 (%3)

Restore its conditions, judgments and comments?</translation>
    </message>
    <message>
        <source>試験を復元できませんでした。</source>
        <translation>The test could not be restored.</translation>
    </message>
</context>
<context>
    <name>torvex::CTypeSelectDlg</name>
    <message>
        <source>モデル選択</source>
        <translation>Model Selection</translation>
    </message>
    <message>
        <source>TORVEXとの接続に失敗しました。</source>
        <translation>Could not connect to the TORVEX.</translation>
    </message>
    <message>
        <source>電源と通信ケーブルを確認してください。</source>
        <translation>Check the power and the communication cable.</translation>
    </message>
    <message>
        <source> １．アプリケーションを起動する場合はモデルを選択して、[デモモード起動]ボタンを押してください。</source>
        <translation> 1. To start the application, choose the model and press [Start Demo Mode].</translation>
    </message>
    <message>
        <source>２．再度TORVEXとの接続を行う場合は[リトライ]ボタンを押してください。</source>
        <translation>2. To try to connect to the TORVEX again, press [Retry].</translation>
    </message>
    <message>
        <source>３．終了する場合は[終了]ﾎﾞﾀﾝを押してください。</source>
        <translation>3. To quit, press [Exit].</translation>
    </message>
    <message>
        <source>TORVEXがどのシリアルポートにあるか、ポートを開けない理由（dialout グループなど）と対処方法は、
端末で「torvex ports」を実行すると表示されます。詳しくは取扱説明書の「困ったときは」をご覧ください。</source>
        <translation>Which serial port the TORVEX is on, why a port cannot be opened (the dialout group and such) and what to do
are shown by &quot;torvex ports&quot; in a terminal. See &quot;Troubleshooting&quot; in the operator&apos;s manual.</translation>
    </message>
    <message>
        <source>デモモード起動</source>
        <translation>Start Demo Mode</translation>
    </message>
    <message>
        <source>リトライ</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>torvex::CValueDlg</name>
    <message>
        <source>単独</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>スイープ</source>
        <translation>Sweep</translation>
    </message>
    <message>
        <source>複数</source>
        <translation>List</translation>
    </message>
</context>
<context>
    <name>torvex::CValueFixDlg</name>
    <message>
        <source>START</source>
        <translation>START</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOP</translation>
    </message>
    <message>
        <source>STEP</source>
        <translation>STEP</translation>
    </message>
</context>
<context>
    <name>torvex::CValueSweepDlg</name>
    <message>
        <source>START</source>
        <translation>START</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOP</translation>
    </message>
    <message>
        <source>STEP</source>
        <translation>STEP</translation>
    </message>
</context>
</TS>
